# SPDX-License-Identifier: GPL-3.0-or-later
# The end of a desktop session. Through a real XSMP session manager (the
# project's own, on libSM and libICE): the save question comes after the
# manager granted interaction and before the program says it is done; Cancel
# cancels the logout and keeps every text; No and Yes end the program at
# Die with exactly the files chosen, without asking again; with nothing
# changed the program asks nothing. Then the desktop's hold on logging out,
# through a stand-in for GNOME's session manager on the session bus.
if [ -z "${XSMP_MANAGER:-}" ] || [ ! -x "${XSMP_MANAGER:-}" ]; then
  echo "SKIP: $JOURNEY: the test session manager was not built (libsm-dev, libice-dev)"
  return
fi
SM_LOG="$E2E_TMP/session.log"

session_start() {  # session_start [WINDOWS at start]
  : >"$SM_LOG"
  rm -f "$E2E_TMP/session.in"
  mkfifo "$E2E_TMP/session.in"
  "$XSMP_MANAGER" "$SM_LOG" <"$E2E_TMP/session.in" >"$E2E_TMP/session.address" 2>"$E2E_TMP/session.err" &
  SM_PID=$!
  exec 7>"$E2E_TMP/session.in"
  local i
  for i in $(seq 1 50); do [ -s "$E2E_TMP/session.address" ] && break; sleep 0.1; done
  SESSION_MANAGER=$(head -n 1 "$E2E_TMP/session.address")
  export SESSION_MANAGER
  start_app "${1:-1}" || return 1
  logged registered || { fail "the program did not join the session"; return 1; }
}
session_stop() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  exec 7>&-
  kill "$SM_PID" 2>/dev/null
  wait "$SM_PID" 2>/dev/null
  unset SESSION_MANAGER
}
# logged LINE: waits until the manager logged that line.
logged() {
  local i
  for i in $(seq 1 50); do grep -qxF "$1" "$SM_LOG" && return 0; sleep 0.1; done
  return 1
}
not_logged() { ! grep -qxF "$1" "$SM_LOG"; }
# asked_at_logout: logs out; the question must come while the manager waits.
asked_at_logout() {
  echo "${1:-logout}" >&7
  wait_for_windows Quillora 2 || { fail "no save question at logout"; return 1; }
  grep -qxF "interaction granted" "$SM_LOG" || fail "the question came before interaction was granted"
  not_logged "save done" && not_logged "die" || fail "the manager heard the program was done before the question"
}

# A changed document and Cancel: the logout is cancelled, the text kept.
session_start || return
type_text "kept"
asked_at_logout || return
keys Escape
logged "interaction done, logout cancelled" || fail "Cancel did not cancel the logout"
sleep 0.5
app_running || fail "Cancel ended the program"
not_logged "die" || fail "the manager ended the session after Cancel"
save_as "$HOME/kept.txt" && expect_file "$HOME/kept.txt" 'kept\r\n'
session_stop

# No: the program ends at Die, writing nothing.
files_before=$(find "$HOME" -type f | sort)
session_start || return
type_text "not wanted"
asked_at_logout || return
keys n
logged die || fail "no Die after No"
wait_for_exit || fail "the program did not end at Die"
expect_eq "the files after No" "$(find "$HOME" -type f | sort)" "$files_before"
session_stop

# Yes on a named document: written without a dialog, then the end.
printf 'old' >"$HOME/named.txt"
session_start || return
keys ctrl+o
wait_for_windows "Open" 1 || { fail "no Open dialog"; return; }
sleep 0.3
type_text "$HOME/named.txt"
keys Return
wait_for_windows "Open" 0 || fail "the Open dialog stayed"
sleep 0.3
type_text "X"
asked_at_logout || return
keys y
logged die || fail "no Die after Yes"
wait_for_exit || fail "the program did not end after Yes"
expect_file "$HOME/named.txt" 'Xold\r\n'
session_stop

# Yes on an untitled document: the Save As dialog first.
session_start || return
type_text "fresh"
asked_at_logout || return
keys y
wait_for_windows "Save As" 1 || { fail "no Save As dialog after Yes"; return; }
sleep 0.3
type_text "$HOME/fresh.txt"
keys Return
logged die || fail "no Die after the untitled document was saved"
wait_for_exit || fail "the program did not end"
expect_file "$HOME/fresh.txt" 'fresh\r\n'
session_stop

# Two changed documents, asked in turn; Cancel at the second keeps both.
session_start || return
type_text "one"
keys ctrl+n
type_text "two"
asked_at_logout || return
keys n
sleep 0.3
wait_for_windows Quillora 2 || { fail "the second document was not asked"; return; }
keys Escape
logged "interaction done, logout cancelled" || fail "Cancel at the second did not cancel the logout"
sleep 0.5
app_running || { fail "Cancel at the second ended the program"; return; }
keys ctrl+e
wait_for_windows Quillora 2 || fail "the first document was no longer changed"
keys Escape
session_stop

# Nothing changed: no question, no interaction; the end at Die; no restart asked for.
session_start || return
echo logout >&7
logged die || fail "no Die with nothing changed"
wait_for_exit || fail "the program did not end at Die"
not_logged "interaction requested" || fail "interaction was requested with nothing changed"
logged "restart hint 3" || fail "the program did not tell the manager not to restart it"
session_stop

# The window manager's close of the frame, with no key or click to the program.
wm_close() {
  wmctrl -i -c "$(xdotool search --all --pid "$APP_PID" --onlyvisible --name '^Quillora$' | head -n 1)"
}
rescued="$HOME/.local/state/quillora"
copies() { find "$rescued" -name '*.txt' 2>/dev/null | wc -l; }
# asked_at_close: the close asks the save question; Cancel keeps the program.
asked_at_close() {
  wm_close
  wait_for_windows Quillora 2 || { fail "$1: the window manager's close did not ask"; return; }
  keys Escape
  sleep 0.3
  app_running || fail "$1: Cancel ended the program"
}

# A checkpoint (a desktop's Save Session) writes nothing, asks nothing, and
# a later close still asks.
session_start || return
type_text "checkpointed"
echo checkpoint >&7
logged "save done" || fail "no answer to a checkpoint"
not_logged "interaction requested" || fail "a checkpoint asked to interact"
expect_eq "rescued texts after a checkpoint" "$(copies)" 0
asked_at_close "after a checkpoint"
session_stop

# The manager answers the wish to ask with ShutdownCancelled (another
# program's user cancelled first): nothing is written or asked, and a later
# close asks.
session_start || return
type_text "not yet"
echo refuse >&7
echo logout >&7
logged "shutdown cancelled" || fail "the manager did not cancel"
logged "save done, not all kept" || fail "the program did not answer the cancelled shutdown"
sleep 0.5
wait_for_windows Quillora 1 || fail "a question came though the shutdown was cancelled"
expect_eq "rescued texts after a cancelled request" "$(copies)" 0
asked_at_close "after a cancelled shutdown"
session_stop

# A shutdown without questions keeps the text, then is cancelled: a later close asks.
session_start || return
type_text "kept, then cancelled"
echo no-die >&7
echo fast-logout >&7
logged "all saved, no die" || fail "the program did not report the fast logout done"
expect_eq "rescued texts after a fast logout" "$(copies)" 1
echo cancel >&7
logged "shutdown cancelled" || fail "the manager did not cancel"
sleep 0.3
asked_at_close "after a shutdown that was cancelled"
session_stop
start_app 2 || fail "the start did not tell of the text kept before the cancel"
keys Return
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
find "$rescued" -name '*.txt' -delete

# No questions allowed (a fast shutdown), twice: each text goes to a private
# copy of its own, and each next start tells of the new ones, once.
for text in "rescue me" "and me"; do
  if [ "$text" = "rescue me" ]; then session_start || return; else
    session_start 2 || { fail "the start did not tell of the rescued text"; return; }
    keys Return
    wait_for_windows Quillora 1 || fail "the message about the rescued text stayed"
  fi
  type_text "$text"
  echo fast-logout >&7
  logged die || fail "no Die at a fast logout"
  wait_for_exit || fail "the program did not end at a fast logout"
  session_stop
done
expect_eq "the rescued texts" "$(cat "$rescued"/*.txt 2>/dev/null | tr -d '\r' | sort | tr '\n' '|')" "and me|rescue me|"
expect_eq "the modes of the folder and its copies" "$(stat -c %a "$rescued" "$rescued"/*.txt 2>/dev/null | sort -u | tr '\n' ' ')" "600 700 "
start_app 2 || fail "the start did not tell of the second rescued text"
keys Return
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
start_app || return
sleep 1
wait_for_windows Quillora 1 || fail "the rescued texts were told of twice"
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null

# Two programs at one shutdown without questions, one of them with a
# document whose path is longer than a file name may be: both texts kept.
long="$HOME/$(printf 'n%.0s' $(seq 1 240)).txt"
printf 'old' >"$long"
session_start || return
open_file "$long" || return
type_text "X"
FIRST=$APP_PID
start_app 2 || return
type_text "second"
echo fast-logout >&7
logged die || fail "no Die at a fast logout of two programs"
wait_for_exit || fail "the second program did not end"
APP_PID=$FIRST
wait_for_exit || fail "the first program did not end"
expect_eq "both programs' texts" "$(cat "$rescued"/*.txt 2>/dev/null | tr -d '\r' | sort | tr '\n' '|')" \
  "Xold|and me|rescue me|second|"
grep -qF "$(echo "$long" | tr a-z A-Z)" "$rescued/index" || fail "the index does not name the long path"
session_stop
find "$rescued" -name '*.txt' -delete

# XDG_STATE_HOME set but empty or relative: the copies go to the user's own state folder.
for state in "" "relative/state"; do
  APP_LAUNCHER="env XDG_STATE_HOME=$state"
  session_start || { APP_LAUNCHER=""; return; }
  type_text "state [$state]"
  echo fast-logout >&7
  logged die || fail "no Die at a fast logout with XDG_STATE_HOME='$state'"
  wait_for_exit || fail "the program did not end"
  session_stop
  APP_LAUNCHER=""
  expect_eq "the copy with XDG_STATE_HOME='$state'" "$(cat "$rescued"/*.txt 2>/dev/null | tr -d '\r')" "state [$state]"
  find "$rescued" -name '*.txt' -delete
done

# The desktop's own close of the window asks the question too.
start_app || return
type_text "closing"
keys alt+F4
wait_for_windows Quillora 2 || fail "no save question when the desktop closed the window"
keys Escape
sleep 0.3
app_running || fail "Cancel did not keep the program"

# The hold on logging out, while a document is changed.
if ! /usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null; then
  echo "SKIP: $JOURNEY: the hold on logging out needs python3-gi"
  return
fi
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
HOLDS="$E2E_TMP/holds.log"
: >"$HOLDS"
/usr/bin/python3 "$HERE/session_recorder.py" "$HOLDS" &
RECORDER=$!
for i in $(seq 1 50); do grep -q ready "$HOLDS" && break; sleep 0.1; done
start_app || return
sleep 0.5
expect_eq "asked of the bus before a change" "$(grep -c Inhibit "$HOLDS")" 0
type_text "a"
sleep 0.5
expect_eq "the hold after a change" "$(grep -c '^Inhibit org.quillora.Quillora 1 Unsaved documents' "$HOLDS")" 1
save_as "$HOME/held.txt" || return
sleep 0.3
expect_eq "the hold let go after saving" "$(grep -c '^Uninhibit' "$HOLDS")" 1
type_text "b"
keys alt+f c
wait_for_windows Quillora 2 || fail "no save question at Close"
keys n
sleep 0.5
expect_eq "a hold again, then let go at Close" "$(grep -c '^Inhibit' "$HOLDS") $(grep -c '^Uninhibit' "$HOLDS")" "2 2"
kill "$RECORDER"

# With the real desktop portal on the bus, whose backend cannot hold a
# logout here (no GNOME session of its own): the portal refuses, and the
# program holds through GNOME's session manager instead.
portal=/usr/libexec/xdg-desktop-portal
if [ ! -x "$portal" ] || [ ! -f /usr/share/dbus-1/services/org.freedesktop.impl.portal.desktop.gtk.service ] ||
  [ -z "${QUILLORA_E2E_SERVICES:-}" ]; then
  echo "SKIP: $JOURNEY: the row with the real portal needs xdg-desktop-portal and its GTK backend"
  return
fi
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
portal_services="org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gtk
  org.freedesktop.impl.portal.PermissionStore org.freedesktop.portal.Documents"
for s in $portal_services; do cp "/usr/share/dbus-1/services/$s.service" "$QUILLORA_E2E_SERVICES/" 2>/dev/null; done
sleep 0.5  # the bus reads its service folder again
: >"$HOLDS"
/usr/bin/python3 "$HERE/session_recorder.py" "$HOLDS" &
RECORDER=$!
for i in $(seq 1 50); do grep -q ready "$HOLDS" && break; sleep 0.1; done
start_app || return
type_text "a"
for i in $(seq 1 100); do grep -q '^Inhibit' "$HOLDS" && break; sleep 0.1; done
expect_eq "the hold through GNOME's manager once the portal refused" \
  "$(grep -c '^Inhibit org.quillora.Quillora 1 Unsaved documents' "$HOLDS")" 1
pgrep -f "$portal" >/dev/null || fail "the portal was not started on the bus"
save_as "$HOME/portal.txt" || return
sleep 0.3
expect_eq "the hold let go after saving" "$(grep -c '^Uninhibit' "$HOLDS")" 1
kill "$RECORDER"
# The journeys after this one have a bus without the portal again.
for s in $portal_services; do rm -f "$QUILLORA_E2E_SERVICES/$s.service"; done
bus=$(pgrep -f "dbus-daemon.*$QUILLORA_E2E_SERVICES" | head -n 1)
[ -n "$bus" ] && pkill -P "$bus" -f 'xdg-(desktop|document|permission)' 2>/dev/null
