# SPDX-License-Identifier: GPL-3.0-or-later
# Another program changes a file open in Quillora. Two Quillora processes on
# one file: each sees the other's save as a change; the second save asks, and
# No keeps the first one's bytes. A git checkout of a tracked file open and
# unedited shows the checked-out text.
file="$HOME/shared.txt"
printf 'first' >"$file"

# The frame of a process, made active for the keys.
activate() {
  local id
  id=$(xdotool search --all --pid "$1" --onlyvisible --name '^Quillora$' | head -n 1)
  xdotool windowactivate --sync "$id" 2>/dev/null
  sleep 0.3
}

start_app || return
FIRST=$APP_PID
open_file "$file" || return
type_text "A "

"$APP" >"$E2E_TMP/second.log" 2>&1 &
SECOND=$!
wait_for_windows Quillora 2 || { fail "the second program did not start"; kill "$SECOND"; return; }
sleep 0.5
activate "$SECOND"
open_file "$file" || { kill "$SECOND"; return; }
type_text "B "
keys ctrl+s
expect_file "$file" 'B first\r\n'

# The first program tells of the change at once, naming the file; No keeps its text.
wait_for_windows Quillora 3 || fail "the first program did not tell of the other's save"
keys n
wait_for_windows Quillora 2 || fail "the message stayed"
activate "$FIRST"
keys ctrl+s
wait_for_windows Quillora 3 || fail "the first program's Save did not ask before writing over the change"
keys n
sleep 0.3
expect_file "$file" 'B first\r\n'
expect_eq "the first program's text" "$(send_mail_subject >/dev/null; last_mail_body)" "A first"
# Yes writes it.
keys ctrl+s
wait_for_windows Quillora 3 || fail "no question at the second Save"
keys y
sleep 0.5
expect_file "$file" 'A first\r\n'
kill "$SECOND" 2>/dev/null
wait "$SECOND" 2>/dev/null

# A checkout replaces a tracked file that is open and unedited.
if command -v git >/dev/null; then
  repo="$HOME/repo"
  mkdir -p "$repo"
  git -C "$repo" init -q -b main
  printf 'one\n' >"$repo/notes.txt"
  git -C "$repo" add notes.txt
  git -C "$repo" -c user.name=t -c user.email=t@t commit -q -m one
  git -C "$repo" checkout -q -b other
  printf 'two, from the other branch\n' >"$repo/notes.txt"
  git -C "$repo" -c user.name=t -c user.email=t@t commit -q -am two
  git -C "$repo" checkout -q main
  activate "$FIRST"
  open_file "$repo/notes.txt" || return
  git -C "$repo" checkout -q other
  sleep 1
  expect_eq "the text after the checkout" "$(send_mail_subject >/dev/null; last_mail_body | tr -d '\r\n')" \
    "two, from the other branch"
  keys alt+f c
  wait_for_windows Quillora 1 || fail "closing the unedited document asked a question"
else
  echo "SKIP: $JOURNEY: the checkout needs git"
fi
