#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmark as on a desktop: a private X server with a window manager
# and a D-Bus session, so that both programs start as they would for a user.
# usage: bench/run_desktop.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
exec 5<> <(:)
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
read -r -t 10 n <&5 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null' EXIT
sleep 0.5
dbus-run-session -- "$build/bench/quillora_bench" "$build/bench/quillora_startup_probe" \
  "$build/bench/bare_window" "$build/bench/map_watch" 2>/dev/null
