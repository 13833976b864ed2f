# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader follows, through AT-SPI: the text named by its document,
# the toolbar buttons, the flag panel and the lock keys, in the shown language.
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: $JOURNEY: python3-pyatspi is not installed"
  return
fi
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app || return
names=$(/usr/bin/python3 "$HERE/a11y_names.py" 2>&1)
for want in "Untitled" "New" "Open" "Save" "Find" "Print" "Cut" "Copy" "Paste" "English" "CAPS (on|off)"; do
  grep -Eq "	$want\$" <<<"$names" || fail "no accessible name '$want'"
done
# The lock-key panels follow the keyboard's lights.
xdotool keydown Caps_Lock keyup Caps_Lock
sleep 1.2
grep -q "	CAPS on\$" <<<"$(/usr/bin/python3 "$HERE/a11y_names.py" 2>&1)" || fail "Caps Lock on is not shown"
xdotool keydown Caps_Lock keyup Caps_Lock
keys alt+o l f
sleep 0.5
names=$(/usr/bin/python3 "$HERE/a11y_names.py" 2>&1)
for want in "Nouveau" "Couper" "Trouver" "Français"; do
  grep -q "	$want\$" <<<"$names" || fail "no accessible name '$want' in French"
done
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
