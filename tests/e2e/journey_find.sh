# SPDX-License-Identifier: GPL-3.0-or-later
# Find with F3 through a document, to the not-found box answered with Enter.
start_app || return
type_text "abc abc abc"
keys ctrl+Home
keys alt+s f
wait_for_windows Find 1 || { fail "no Find dialog"; return; }
type_text "abc"
keys Return
keys Escape
wait_for_windows Find 0 || fail "Cancel did not close the Find dialog"
keys F3 F3
keys F3
wait_for_windows Quillora 2 || fail "no not-found message"
keys Return
wait_for_windows Quillora 1 || fail "Enter did not close the message"
type_text "X"
file="$HOME/found.txt"
save_as "$file" || return
expect_file "$file" 'abc abc X\r\n'
