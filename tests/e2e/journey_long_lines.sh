# SPDX-License-Identifier: GPL-3.0-or-later
# Keys that join two lines into one longer than a whole line (65,536
# characters), from the real keyboard: the program goes on and the saved text
# is exact. Then a triple click in a line before a line held in pieces
# selects that line alone, with its line break, as a plain text box does.

# two_lines ROW: a line of 40,000 letters and one of 30,000 after it,
# starting with the mark 7531, as the clipboard; the second line is the first
# of the row's expected text.
letters() { python3 -c "import random as r; r.seed($1); print(''.join(r.choices('abcdefghijklmnopqrstuvwxyz', k=$2)), end='')"; }

# joined NAME KEYS... EXPECTED-JOIN: pastes the two lines, finds the mark,
# puts the caret at the start of the second line, presses the keys, saves,
# and compares the file with line one, EXPECTED-JOIN, line two.
joined() {
  local name=$1 join=${*: -1} file="$HOME/joined-$1.txt"
  shift
  start_app || return
  letters 1 40000 >"$E2E_TMP/one"
  { printf '7531'; letters 2 30000; } >"$E2E_TMP/two"
  { cat "$E2E_TMP/one"; printf '\n'; cat "$E2E_TMP/two"; } | xclip -selection clipboard
  keys ctrl+v
  sleep 1
  keys ctrl+Home alt+s f
  wait_for_windows Find 1 || { fail "$name: no Find dialog"; return; }
  type_text 7531
  keys Return Escape
  wait_for_windows Find 0 || { fail "$name: the Find dialog stayed"; return; }
  keys Left
  printf 'P' | xclip -selection clipboard
  while [ $# -gt 1 ]; do
    if [ "$1" = "type" ]; then type_text "$2"; shift; else keys "$1"; fi
    shift
  done
  sleep 0.5
  app_running || { fail "$name: the program ended"; return; }
  save_as "$file" || return
  python3 - "$file" "$E2E_TMP/one" "$E2E_TMP/two" "$join" <<'PY' || fail "$name: the saved text is not the joined text"
import sys
got = open(sys.argv[1], 'rb').read()
want = open(sys.argv[2], 'rb').read() + sys.argv[4].encode() + open(sys.argv[3], 'rb').read() + b'\r\n'
sys.exit(0 if got == want else 1)
PY
  kill "$APP_PID" 2>/dev/null
  wait "$APP_PID" 2>/dev/null
}

joined backspace BackSpace ""
joined delete Left Delete ""
joined replaced shift+Left type Z "Z"
joined pasted shift+Left ctrl+v "P"

# The triple click: a word of a line of 60,000 letters, above one of 84,000.
start_app || return
letters 3 60000 >"$E2E_TMP/first"
{ cat "$E2E_TMP/first"; printf '\n'; letters 4 84000; } | xclip -selection clipboard
keys ctrl+v
sleep 1
keys ctrl+Home
sleep 0.5
eval "$(xdotool search --onlyvisible --name '^Quillora$' getwindowgeometry --shell | head -n 5)"
xdotool mousemove $((X + 120)) $((Y + 125)) click --repeat 3 --delay 80 1
sleep 0.3
keys ctrl+c
sleep 0.3
copied=$(xclip -o -selection clipboard | wc -c)
expect_eq "the triple click copied the first line and its break" "$copied" 60002
