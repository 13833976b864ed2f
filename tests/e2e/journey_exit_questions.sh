# SPDX-License-Identifier: GPL-3.0-or-later
# Two changed documents and Exit: two questions; Cancel on the second keeps
# both; then No to both ends the program.
start_app || return
type_text "first"
keys ctrl+n
type_text "second"
keys ctrl+e
wait_for_windows Quillora 2 || { fail "no first save question"; return; }
keys n
sleep 0.3
wait_for_windows Quillora 2 || { fail "no second save question"; return; }
keys Escape
sleep 0.5
wait_for_windows Quillora 1 || fail "a question stayed open"
app_running || { fail "Cancel ended the program"; return; }
expect_eq "both still open" "$(send_mail_subject)" "Untitled:2"
keys ctrl+e
wait_for_windows Quillora 2 || { fail "the first document was not asked again"; return; }
keys n
sleep 0.3
wait_for_windows Quillora 2 || { fail "the second document was not asked again"; return; }
keys n
wait_for_exit || fail "No to both did not end the program"
