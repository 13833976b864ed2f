#!/usr/bin/env bash
# End-to-end journeys: the real binary on a real (virtual) display, driven by
# key presses, observed through its windows, the messages it hands on and files.
APP=${1:?usage: run.sh path/to/quillora [journey name pattern]}
ONLY=${2:-}
# A private session bus, as a desktop session would have.
if [ -z "${QUILLORA_E2E_BUS:-}" ] && command -v dbus-run-session >/dev/null; then
  QUILLORA_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/lib.sh"
start_x

PASSED=0
for journey in "$HERE"/journey_*${ONLY}*.sh; do
  JOURNEY=$(basename "$journey" .sh)
  before=$FAILED
  . "$journey"
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  wait "$APP_PID" 2>/dev/null
  APP_PID=""
  if [ "$FAILED" -eq "$before" ]; then PASSED=$((PASSED + 1)); echo "PASS: $JOURNEY"; fi
done
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
