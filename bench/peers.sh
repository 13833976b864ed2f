#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Quillora beside the lightest editors a desktop installs, side by side in
# one run on a private X server with a window manager, each driven the same
# way through its own Open dialog:
#  - a key typed at the end of 65,000 bytes in 1,500 lines, and at the end of
#    one 65,000-byte line of words: the time from the key to the first change
#    of the window on the display (bench/key_echo), median of 40 keys;
#  - memory per 65,000-byte document: resident memory growth over 20 files
#    opened after a first one, divided by 20 (the dialog's own cost is paid
#    by the first).
# Each figure is the median of RUNS runs. Editors that are not installed are
# left out (scripts/install-deps.sh --bench installs them).
# usage: [EDITORS="quillora mousepad"] bench/peers.sh BUILD_DIR [RUNS]
set -uo pipefail
build=$(realpath "${1:?usage: peers.sh BUILD_DIR [RUNS]}")
runs=${2:-3}
work=$(mktemp -d)
exec 5<> <(:)
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${wm:-} ${buspid:-} 2>/dev/null; rm -rf "$work"' EXIT
read -r -t 10 n <&5 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$n" HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/run" \
  LANG=C.UTF-8 LC_ALL=C.UTF-8 NO_AT_BRIDGE=1 GTK_A11Y=none GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | tr '\n' ' ')
export DBUS_SESSION_BUS_ADDRESS=${bus%% *}
buspid=${bus#* }
buspid=${buspid%% *}
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

# The texts: 1,500 lines, one line of words, and 21 different files of lines.
files="$work/files"
mkdir -p "$files/docs"
python3 - "$files" <<'PY'
import sys
d = sys.argv[1]
lines = b""
while len(lines) < 65000: lines += b"lorem ipsum dolor sit amet consectetur adip\n"
open(f"{d}/lines.txt", "wb").write(lines[:65000])
words = b""
while len(words) < 65000: words += b"lorem ipsum dolor sit amet "
open(f"{d}/line.txt", "wb").write(words[:65000])
for k in range(21):
    text, line = b"", 0
    while len(text) < 65000:
        text += b"%d " % k + bytes([ord("a") + (line + k) % 26]) * 38 + b"\n"
        line += 1
    open(f"{d}/docs/{k:02d}.txt", "wb").write(text[:65000])
PY

command_of() {
  case $1 in
    quillora) echo "$build/quillora" ;;
    *) command -v "$1" ;;
  esac
}

windows_of() { xdotool search --all --pid "$1" --onlyvisible --name . 2>/dev/null; }

# start NAME: starts the editor afresh, with nothing kept from the last
# run to tell of; sets `pid` and `win`, its main window.
start() {
  rm -rf "${XDG_CONFIG_HOME:?}"/* "${XDG_DATA_HOME:?}"/* "${XDG_STATE_HOME:?}"/* "${XDG_CACHE_HOME:?}"/*
  "$(command_of "$1")" >>"$work/$1.log" 2>&1 &
  pid=$!
  win=
  for _ in $(seq 1 200); do
    win=$(windows_of "$pid" | head -n 1)
    [ -n "$win" ] && break
    sleep 0.05
  done
  [ -n "$win" ] || { echo "$1 showed no window" >&2; return 1; }
  sleep 1
  xdotool windowactivate --sync "$win" 2>/dev/null
  sleep 0.2
}

stop() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# open_through_dialog NAME PATH: the editor's own Open dialog, the path typed.
open_through_dialog() {
  local before count
  before=$(windows_of "$pid" | wc -l)
  xdotool key --clearmodifiers ctrl+o
  for _ in $(seq 1 100); do
    count=$(windows_of "$pid" | wc -l)
    [ "$count" -gt "$before" ] && break
    sleep 0.05
  done
  sleep 0.4
  # The GTK chooser takes a typed path in its location field.
  [ "$1" = quillora ] || { xdotool key --clearmodifiers ctrl+l && sleep 0.2; }
  xdotool type --delay 2 "$2"
  sleep 0.3
  # The GTK chooser may still be completing the path at the first Return.
  for try in 1 2 3; do
    xdotool key --clearmodifiers Return
    for _ in $(seq 1 40); do
      count=$(windows_of "$pid" | wc -l)
      [ "$count" -le "$before" ] && break 2
      sleep 0.05
    done
  done
  sleep 0.4
}

resident_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

typing() {  # typing NAME FILE: prints the median key-to-echo in ms
  start "$1" || return
  open_through_dialog "$1" "$2"
  xdotool key --clearmodifiers ctrl+End
  sleep 1
  "$build/bench/key_echo" "$win" 40 | cut -d' ' -f1
  stop
}

per_document() {  # per_document NAME: prints MiB per document over 20
  local first
  start "$1" || return
  open_through_dialog "$1" "$files/docs/00.txt"
  sleep 1
  first=$(resident_kib "$pid")
  for k in $(seq -w 1 20); do open_through_dialog "$1" "$files/docs/$k.txt"; done
  sleep 1
  echo "$first $(resident_kib "$pid")" | awk '{printf "%.3f\n", ($2 - $1) / 20 / 1024}'
  stop
}

median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}'; }

editors=()
for e in ${EDITORS:-quillora mousepad l3afpad featherpad}; do
  command_of "$e" >/dev/null && [ -x "$(command_of "$e")" ] && editors+=("$e")
done
for r in $(seq 1 "$runs"); do
  for e in "${editors[@]}"; do
    typing "$e" "$files/lines.txt" >>"$work/$e.lines"
    typing "$e" "$files/line.txt" >>"$work/$e.line"
    # A single-document editor opens each file in place of the last.
    [ "$e" = l3afpad ] || per_document "$e" >>"$work/$e.memory"
  done
done

echo "| editor | key, 1,500 lines (ms) | key, one 65,000-byte line (ms) | per 65,000-byte document (MiB) | runs |"
echo "|---|---|---|---|---|"
for e in "${editors[@]}"; do
  echo "| $e | $(median <"$work/$e.lines") | $(median <"$work/$e.line") | $(median <"$work/$e.memory" 2>/dev/null) | $(tr '\n' ' ' <"$work/$e.line") |"
done
