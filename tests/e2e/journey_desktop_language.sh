# SPDX-License-Identifier: GPL-3.0-or-later
# A German desktop (LANG=de_DE.UTF-8): what Qt itself draws (the edit
# control's context menu, the Open dialog, the save question's buttons) reads
# as a plain Qt text box, dialog and message box read in the same language,
# while the program's own menus and messages keep the catalogue's English.
if [ -z "${QT_TEXTS:-}" ] || [ ! -x "$QT_TEXTS" ]; then
  echo "SKIP: $JOURNEY: the helper that prints Qt's own texts was not built"
  return
fi
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: $JOURNEY: python3-pyatspi is not installed"
  return
fi
translations=$(find /usr/share/qt6/translations -name 'qtbase_de.qm' 2>/dev/null | head -n 1)
if [ -z "$translations" ]; then
  echo "SKIP: $JOURNEY: Qt's translations are not installed (qt6-translations-l10n)"
  return
fi
# The locale, built into the journey's own folder.
locales="$E2E_TMP/locale"
mkdir -p "$locales"
localedef -i de_DE -f UTF-8 "$locales/de_DE.UTF-8" 2>/dev/null
german=(env LANGUAGE= LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8 LOCPATH="$locales")
read_aloud() { /usr/bin/python3 "$HERE/a11y_names.py" "$@" 2>&1; }
expected=$("${german[@]}" QT_QPA_PLATFORM=offscreen "$QT_TEXTS" 2>/dev/null)
english=$(env LANGUAGE= LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8 QT_QPA_PLATFORM=offscreen "$QT_TEXTS" 2>/dev/null)
[ "$expected" != "$english" ] || fail "Qt's texts do not change on a German desktop"
# Each of the other languages of the menus has Qt's texts of its own; US English has Qt's own.
for lang in fr_FR es_ES it_IT; do
  theirs=$(env LANGUAGE= LC_ALL= LC_MESSAGES= LANG=$lang.UTF-8 QT_QPA_PLATFORM=offscreen "$QT_TEXTS" 2>/dev/null)
  [ "$theirs" != "$english" ] && [ "$theirs" != "$expected" ] || fail "Qt's texts under $lang are not its own"
done
expect_eq "Qt's texts under en_US" "$(env LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C QT_QPA_PLATFORM=offscreen "$QT_TEXTS" 2>/dev/null)" \
  "$english"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
APP_LAUNCHER="${german[*]}"
start_app || { APP_LAUNCHER=""; return; }
APP_LAUNCHER=""
# expect_read KIND...: every name the helper printed for those kinds is read aloud under the role.
expect_read() {
  local aloud kind role name
  aloud=$(cut -f1,2 <<<"$1")  # a menu item's keys follow its name
  shift
  for kind in "$@"; do
    role=$kind
    [ "$kind" = "question button" ] && role="push button"
    while IFS= read -r line; do
      name=${line#*	}
      grep -qxF "$role	$name" <<<"$aloud" || fail "Qt's \"$name\" ($kind) is not read aloud"
    done < <(grep "^$kind	" <<<"$expected")
  done
}
# The program's own menus are the English tree.
grep -qxF "menu item	File" <<<"$(read_aloud)" || fail "the document's menus are not the English tree"

# The context menu, with a text to act on.
type_text "x"

expect_read "$(read_aloud popup Menu)" "menu item"
keys Escape

title=$(grep "^title	" <<<"$expected" | cut -f2)
keys ctrl+o
wait_for_windows "$title" 1 || { fail "no Open dialog titled \"$title\""; return; }
sleep 0.5
expect_read "$(read_aloud)" "label" "push button"
keys Escape
wait_for_windows "$title" 0 || fail "Escape did not close the Open dialog"

keys alt+f c
wait_for_windows Quillora 2 || { fail "no save question"; return; }
sleep 0.3
aloud=$(read_aloud)
grep -qF "The text in [Untitled] has changed." <<<"$aloud" || fail "the save question is not the English one"
grep -qF "Do you want to save the changes?" <<<"$aloud" || fail "the save question is not the English one"
expect_read "$aloud" "question button"
# The translated access keys: Escape cancels, and N (Nein) answers No.
keys Escape
wait_for_windows Quillora 1 || fail "Escape did not cancel the save question"
app_running || fail "the program ended"
keys alt+f c
wait_for_windows Quillora 2 || { fail "no save question the second time"; return; }
keys n
sleep 0.5
wait_for_windows Quillora 1 || fail "N did not answer the German question"
grep -q "^text	Untitled" <<<"$(read_aloud)" && fail "N did not close the document without saving"
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
