# SPDX-License-Identifier: GPL-3.0-or-later
# Started from a shell with an 8 KiB (soft) file-size limit and the signal that
# enforces it left at its default: a save past the limit is reported, the
# program lives on, the old file keeps its bytes and both windows their text.
file="$HOME/limit.txt"
head -c 4000 /dev/zero | tr '\0' 'q' >"$file"
cp "$file" "$E2E_TMP/limit.orig"
printf '#!/bin/sh\ntrap - XFSZ\nulimit -S -f 8\nexec "$1"\n' >"$E2E_TMP/limited"
APP_LAUNCHER="sh $E2E_TMP/limited" start_app || return
type_text "keep me"
keys ctrl+o
wait_for_windows "Open" 1 || { fail "no Open dialog"; return; }
sleep 0.3
type_text "$file"
keys Return
wait_for_windows "Open" 0 || { fail "the Open dialog stayed"; return; }
sleep 0.5
keys ctrl+a ctrl+c ctrl+End ctrl+v ctrl+v ctrl+s
wait_for_windows Quillora 2 || fail "no message about the failed save"
keys Return
sleep 0.5
app_running || { fail "the save past the limit ended the program"; return; }
cmp -s "$file" "$E2E_TMP/limit.orig" || fail "the old file lost its bytes"
expect_eq "caption kept" "$(send_mail_subject)" "$(echo "$file" | tr a-z A-Z)"
expect_eq "text kept" "$(last_mail_body | wc -c)" 12000
keys alt+f c
wait_for_windows Quillora 2 || { fail "no save question on close"; return; }
keys n
sleep 0.5
expect_eq "the other window" "$(send_mail_subject)" "Untitled"
expect_eq "its text kept" "$(last_mail_body)" "keep me"
