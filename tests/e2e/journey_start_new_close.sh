# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up shows "Untitled"; Ctrl+N gives Untitled:2; closing both leaves the
# frame's menus, whose New makes Untitled:1; Ctrl+E beats the edit control's
# end-of-line key and asks about the changed text.
start_app || return
expect_eq "first caption" "$(send_mail_subject)" "Untitled"
keys ctrl+n
expect_eq "caption after Ctrl+N" "$(send_mail_subject)" "Untitled:2"
keys alt+f c
keys alt+f c
keys alt+f Escape Escape
# The frame's File menu has no Close: Alt+F, C changes nothing; its New gives slot 1.
keys ctrl+n
expect_eq "caption after closing both" "$(send_mail_subject)" "Untitled:1"
type_text "abc"
keys ctrl+e
wait_for_windows Quillora 2 || fail "Ctrl+E did not ask about the changed text"
keys n
wait_for_exit || fail "No in the save question did not end the program"
