# SPDX-License-Identifier: GPL-3.0-or-later
# Switch to German with Alt and the underlined letters alone, cut with
# Bearbeiten > Ausschneiden, search with the German Find dialog, the About
# box in German, and back to English.
start_app || return
type_text "abc def"
keys shift+Home
keys alt+o l g
keys alt+b a
keys alt+s s
wait_for_windows Suchen 1 || fail "no German Find dialog"
keys Escape
wait_for_windows Suchen 0 || fail "Esc did not close the Find dialog"
keys alt+i i
wait_for_windows "Info.." 1 || fail "no German About box"
keys Return
wait_for_windows "Info.." 0 || fail "Enter did not close the About box"
keys alt+o s e
keys ctrl+v ctrl+v
file="$HOME/german.txt"
save_as "$file" || return
expect_file "$file" 'abc defabc def\r\n'
