#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The first change of a document while the desktop portal is being started
# on the session bus, against the same with no portal on the bus: the time
# from the first key to its letter on screen, and from the first Save As to
# its dialog on screen. The first change asks the desktop to hold off
# logging out, which starts the portal; nothing of that may hold the window
# up. Each run has a bus of its own, so the portal starts anew.
# usage: bench/first_change.sh PROGRAM [RUNS]   (needs xwd, from x11-apps)
set -uo pipefail
program=${1:?usage: first_change.sh PROGRAM [RUNS]}
runs=${2:-5}
work=$(mktemp -d)
exec 5<> <(:)
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${wm:-} 2>/dev/null; rm -rf "$work"' EXIT
read -r -t 10 n <&5 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

now() { date +%s%N; }
shot() { xwd -silent -id "$1" 2>/dev/null | md5sum; }

# one_run WITH_PORTAL: prints "key-to-echo-ms save-dialog-ms".
one_run() {
  local services="$work/services" bus pid win before t0 t1 t2 i
  rm -rf "$services" && mkdir -p "$services"
  if [ "$1" = portal ]; then
    for s in org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gtk \
      org.freedesktop.impl.portal.PermissionStore org.freedesktop.portal.Documents; do
      cp "/usr/share/dbus-1/services/$s.service" "$services/"
    done
  fi
  cat >"$services/bus.conf" <<CONF
<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>
<servicedir>$services</servicedir><policy context="default"><allow send_destination="*"/><allow own="*"/></policy>
</busconfig>
CONF
  bus=$(dbus-daemon --config-file="$services/bus.conf" --fork --print-address=1 --print-pid=1 | tr '\n' ' ')
  export DBUS_SESSION_BUS_ADDRESS=${bus%% *}
  local buspid=${bus#* }
  buspid=${buspid%% *}
  dbus-update-activation-environment DISPLAY 2>/dev/null
  "$program" >"$work/program.log" 2>&1 &
  pid=$!
  for i in $(seq 1 400); do
    win=$(xdotool search --all --pid "$pid" --onlyvisible --name '^Quillora$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.05
  done
  [ -n "$win" ] || { echo "the program did not show its window:" >&2; cat "$work/program.log" >&2; return 1; }
  sleep 1
  xdotool windowactivate --sync "$win" 2>/dev/null
  sleep 0.3
  before=$(shot "$win")
  t0=$(now)
  xdotool key --clearmodifiers a
  for i in $(seq 1 500); do [ "$(shot "$win")" != "$before" ] && break; done
  t1=$(now)
  sleep 0.05
  t2=$(now)
  xdotool key --clearmodifiers alt+f a
  for i in $(seq 1 1000); do xdotool search --onlyvisible --name '^Save As$' >/dev/null 2>&1 && break; sleep 0.005; done
  local t3
  t3=$(now)
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pkill -P "$buspid" 2>/dev/null
  kill "$buspid" 2>/dev/null
  echo "$(((t1 - t0) / 1000000)) $(((t3 - t2) / 1000000))"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for mode in ${MODES:-none portal}; do
  : >"$work/$mode"
  for r in $(seq 1 "$runs"); do one_run "$mode" >>"$work/$mode"; done
  echo "$mode: first key to echo, median $(cut -d' ' -f1 "$work/$mode" | median) ms ($(cut -d' ' -f1 "$work/$mode" | tr '\n' ' ')); first Save As dialog, median $(cut -d' ' -f2 "$work/$mode" | median) ms ($(cut -d' ' -f2 "$work/$mode" | tr '\n' ' '))"
done
