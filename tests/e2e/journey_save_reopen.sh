# SPDX-License-Identifier: GPL-3.0-or-later
# Type, Save As through the real file dialog, close, reopen with Open.
start_app || return
type_text "hello journey"
file="$HOME/Journey Notes.txt"
save_as "$file" || return
expect_file "$file" 'hello journey\r\n'
expect_eq "caption after Save As" "$(send_mail_subject)" "$(echo "$file" | tr a-z A-Z)"
keys alt+f c
keys ctrl+o
wait_for_windows "Open" 1 || { fail "no Open dialog"; return; }
sleep 0.3
type_text "$file"
keys Return
wait_for_windows "Open" 0 || fail "the Open dialog stayed"
sleep 0.5
expect_eq "caption after Open" "$(send_mail_subject)" "$(echo "$file" | tr a-z A-Z)"
keys ctrl+s
expect_file "$file" 'hello journey\r\n\r\n'
grep -q "RecentFile1=.*Journey Notes.txt" "$XDG_CONFIG_HOME/VIZIvev.ini" || fail "the recent-files list was not written"
