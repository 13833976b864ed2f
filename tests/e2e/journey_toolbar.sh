# SPDX-License-Identifier: GPL-3.0-or-later
# The toolbar with the mouse: New, Cut, Copy and Paste on a selection, and the
# strip hidden and shown again from Options.
start_app || return
frame=$(xdotool search --onlyvisible --name '^Quillora$' | head -n 1)
X=$(xwininfo -id "$frame" | awk '/Absolute upper-left X/ { print $NF }')
Y=$(xwininfo -id "$frame" | awk '/Absolute upper-left Y/ { print $NF }')
# The buttons' lefts are 0, 360 … twips at Qt's logical 96 DPI (Xvfb sets no
# Xft.dpi); the strip sits under the menu bar.
button() { local twips=$1; echo $((X + twips * 96 / 1440 + 8)) $((Y + 40)); }
click() { xdotool mousemove $(button "$1") click 1; sleep 0.4; }
click 0  # New
expect_eq "caption after the New button" "$(send_mail_subject)" "Untitled:2"
type_text "abc"
keys shift+Home
click 2160  # Cut
click 2880  # Paste
click 2880  # Paste
keys shift+Home
click 2520  # Copy
keys End
click 2880  # Paste
file="$HOME/toolbar.txt"
save_as "$file" || return
expect_file "$file" 'abcabcabcabc\r\n'
keys alt+o t  # hide the strip: a click at the New button's place makes nothing
click 0
keys alt+o t
click 0  # shown again: the next New is slot 3, so the hidden click made no window
expect_eq "caption after showing the strip" "$(send_mail_subject)" "Untitled:3"
