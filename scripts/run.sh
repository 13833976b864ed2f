#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Quillora and starts it. Without a display
# it starts it on a virtual one, saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quillora

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/quillora
fi

shot="$PWD/build/screenshot.png"
exec 5<> <(:)
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 n <&5
DISPLAY=":$n" build/quillora &
app=$!
sleep 3
DISPLAY=":$n" import -window root "$shot"
kill "$app" "$xvfb"
echo "No display here: Quillora ran on a virtual display. Screenshot: $shot"
