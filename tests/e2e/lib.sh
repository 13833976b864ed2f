# SPDX-License-Identifier: GPL-3.0-or-later
# Shared steps for the end-to-end journeys: a private X server with a small
# window manager, the real binary, real key presses, and what the user sees.
set -u

E2E_TMP=$(mktemp -d)
export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb

# A mail launcher of our own, found first on PATH: it records the message it was given.
mkdir -p "$E2E_TMP/bin"
cat >"$E2E_TMP/bin/xdg-email" <<'SH'
#!/bin/sh
ulimit -f unlimited  # lifts a journey's soft file-size limit for the record
printf '%s' "$1" >>"$MAIL_LOG"
printf '\n' >>"$MAIL_LOG"
SH
chmod +x "$E2E_TMP/bin/xdg-email"
export PATH="$E2E_TMP/bin:$PATH" MAIL_LOG="$E2E_TMP/mail.log"

FAILED=0
APP_PID=""

start_x() {
  exec 5<> <(:)
  Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r -t 10 n <&5 || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=":$n"
  # Services the bus starts reach the display, as in a desktop session.
  command -v dbus-update-activation-environment >/dev/null &&
    dbus-update-activation-environment DISPLAY 2>/dev/null
  if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    sleep 0.5
  fi
}

stop_x() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
  kill "$XVFB_PID" 2>/dev/null
  rm -rf "$E2E_TMP"
}
trap stop_x EXIT

# start_app [WINDOWS]: until the frame (and a message it shows at start) is up.
start_app() {
  : >"$MAIL_LOG"
  ${APP_LAUNCHER:-} "$APP" >"$E2E_TMP/app.log" 2>&1 &
  APP_PID=$!
  wait_for_windows Quillora "${1:-1}" || { fail "the frame did not appear"; return 1; }
  sleep 0.5
}

# wait_for_windows NAME COUNT: until exactly COUNT visible windows carry NAME.
wait_for_windows() {
  local i
  for i in $(seq 1 50); do
    [ "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l)" -eq "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

keys() {
  local k
  for k in "$@"; do
    xdotool key --clearmodifiers "$k"
    sleep 0.15
  done
}

type_text() { xdotool type --delay 20 "$1"; sleep 0.2; }

# The subject of the last mail handed to the mail launcher: the document's caption.
send_mail_subject() {
  local before i
  before=$(wc -l <"$MAIL_LOG")
  keys alt+f e
  for i in $(seq 1 30); do
    [ "$(wc -l <"$MAIL_LOG")" -gt "$before" ] && break
    sleep 0.1
  done
  sleep 1  # the launcher's start-up settles before the next key
  tail -n 1 "$MAIL_LOG" | sed -e 's/^mailto:?subject=//' -e 's/&body=.*//' |
    python3 -c 'import sys,urllib.parse; print(urllib.parse.unquote(sys.stdin.read().strip()))'
}

# The text of the last mail handed to the mail launcher.
last_mail_body() {
  tail -n 1 "$MAIL_LOG" | sed -e 's/^.*&body=//' |
    python3 -c 'import sys,urllib.parse; sys.stdout.write(urllib.parse.unquote(sys.stdin.read().strip()))'
}

app_running() { kill -0 "$APP_PID" 2>/dev/null; }

wait_for_exit() {
  local i
  for i in $(seq 1 50); do
    app_running || return 0
    sleep 0.1
  done
  return 1
}

fail() {
  echo "FAIL: $JOURNEY: $*"
  FAILED=$((FAILED + 1))
  local shot="${E2E_SHOTS:-/tmp}/e2e-$(echo "$JOURNEY" | tr ' ' '_').png"
  import -window root "$shot" 2>/dev/null && echo "  screenshot: $shot"
}

expect_eq() {  # expect_eq WHAT ACTUAL EXPECTED
  if [ "$2" != "$3" ]; then fail "$1: got '$2', expected '$3'"; return 1; fi
}

# file_dialog TITLE PATH: types the path into the file dialog of that title and takes it.
file_dialog() {
  wait_for_windows "$1" 1 || { fail "no $1 dialog"; return 1; }
  sleep 0.3
  type_text "$2"
  keys Return
  wait_for_windows "$1" 0 || { fail "the $1 dialog stayed"; return 1; }
  sleep 0.3
}
# save_as PATH: File > Save As through the real file dialog.
save_as() { keys alt+f a && file_dialog "Save As" "$1"; }
# open_file PATH: File > Open through the real file dialog.
open_file() { keys ctrl+o && file_dialog "Open" "$1" && sleep 0.2; }

expect_file() {  # expect_file PATH BYTES (printf format)
  local want got
  want=$(printf "$2" | od -An -c)
  got=$(od -An -c <"$1" 2>/dev/null)
  [ "$want" = "$got" ] || fail "bytes of $1: got [$got], expected [$want]"
}
