#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end journeys: the real binary on a real (virtual) display, driven by
# key presses, observed through its windows, the messages it hands on and files.
APP=${1:?usage: run.sh path/to/quillora [journey name pattern]}
ONLY=${2:-}
# A private session bus, as a desktop session would have, which starts only
# the services the journeys name (the accessibility bus), whatever else the
# machine has installed: a journey starts any other service it needs itself.
if [ -z "${QUILLORA_E2E_BUS:-}" ] && command -v dbus-run-session >/dev/null; then
  services=$(mktemp -d)
  trap 'rm -rf "$services"' EXIT
  cp /usr/share/dbus-1/services/org.a11y.Bus.service "$services/" 2>/dev/null
  cat >"$services/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
  QUILLORA_E2E_BUS=1 QUILLORA_E2E_SERVICES="$services" dbus-run-session --config-file="$services/bus.conf" -- bash "$0" "$@"
  exit
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
