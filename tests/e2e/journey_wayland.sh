# SPDX-License-Identifier: GPL-3.0-or-later
# On a Wayland compositor (weston, nested in the X display): menus through
# access keys, a save whose bytes are checked, the lock-key panels following
# Caps Lock and Num Lock, and Maximise on the dialogs of fixed size survived.
if ! command -v weston >/dev/null || ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1; then
  echo "SKIP: $JOURNEY: weston or Qt's Wayland platform is not installed"
  return
fi
# No on-screen keyboard: the keys are real.
printf '[input-method]\npath=/bin/true\n' >"$E2E_TMP/weston.ini"
weston --config="$E2E_TMP/weston.ini" --backend=x11-backend.so --socket=quillora-e2e --width=1024 --height=700 \
  --idle-time=0 >"$E2E_TMP/weston.log" 2>&1 &
WESTON_PID=$!
for _ in $(seq 1 50); do [ -S "$XDG_RUNTIME_DIR/quillora-e2e" ] && break; sleep 0.1; done
sleep 1
xdotool search --name "Weston Compositor" windowactivate --sync >/dev/null 2>&1
xdotool mousemove 500 400
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=quillora-e2e QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  "$APP" >"$E2E_TMP/app.log" 2>&1 &
APP_PID=$!
read_aloud() { /usr/bin/python3 "$HERE/a11y_names.py" "$@" 2>&1; }
# panel_reads WHAT: until the panels read aloud WHAT, within half a second.
panel_reads() {
  local i
  for i in 1 2 3 4 5; do
    grep -q "	$1\$" <<<"$(read_aloud)" && return 0
    sleep 0.1
  done
  fail "the panel does not read '$1'"
}
sleep 2
app_running || fail "Quillora did not start on Wayland: $(tail -n 3 "$E2E_TMP/app.log")"

type_text "on wayland"
keys alt+f a
sleep 1
type_text "$E2E_TMP/wayland.txt"
keys Return
sleep 1
expect_file "$E2E_TMP/wayland.txt" 'on wayland\r\n'

lock() { xdotool keydown "$1" keyup "$1"; }
lock Caps_Lock
panel_reads "CAPS on"
lock Caps_Lock
panel_reads "CAPS off"
lock Num_Lock
panel_reads "NUM on"
lock Num_Lock
panel_reads "NUM off"

# Maximise (weston's Super+Shift+M, as the title bar's button does) on the
# About box, the Find dialog and the save question.
maximise_survived() {
  keys super+shift+m
  sleep 1
  app_running || fail "Maximise on $1 ended the program: $(tail -n 2 "$E2E_TMP/app.log")"
}
keys alt+h a
sleep 1
maximise_survived "the About box"
keys Escape alt+s f
sleep 1
maximise_survived "the Find dialog"
keys Escape
type_text "x"
keys ctrl+e
sleep 1
maximise_survived "the save question"
keys n
wait_for_exit || fail "No in the save question did not end the program"
kill "$WESTON_PID" 2>/dev/null
wait "$WESTON_PID" 2>/dev/null
