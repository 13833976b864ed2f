#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each floor of the program includes headers only from its own floor and the
# floors below it (CONTRIBUTING.md). Prints every include that points up and
# fails; prints nothing when the floors hold.
set -euo pipefail
cd "$(dirname "$0")/.."
ground="common settings resources"
declare -A may=(
  [app]="app documents editing languages $ground"
  [documents]="documents editing languages $ground"
  [editing]="editing languages $ground"
  [languages]="languages $ground"
  [common]="$ground" [settings]="$ground" [resources]="$ground"
)
failed=0
for floor in "${!may[@]}"; do
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$include")
    if [[ " ${may[$floor]} " != *" $target "* ]]; then
      echo "$file:$line: $floor includes $target: $include"
      failed=1
    fi
  done < <(git grep -n -E '^#include "[a-z]+/' -- "$floor/*.cpp" "$floor/*.h" || true)
done
exit $failed
