# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader reads of the menus, through AT-SPI from a fresh client,
# after every change of the active window and in each of the five trees:
# every item can be fetched, and the File menu, opened, reads as it shows.
# Then the text of a line long enough to be held in pieces reads as typed.
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: $JOURNEY: python3-pyatspi is not installed"
  return
fi
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
read_aloud() { /usr/bin/python3 "$HERE/a11y_names.py" "$@" 2>&1; }

# menus_read WHEN FILE-KEY TOP ITEMS: no item of any menu is unreadable; the
# File menu opened with FILE-KEY, named TOP, reads ITEMS (shown items, | between,
# a check mark as "*"), then the Languages item of its tree that is greyed.
menus_read() {
  local all shown
  all=$(read_aloud menus)
  if grep -q UNREADABLE <<<"$all"; then
    fail "$1: $(grep -c UNREADABLE <<<"$all") menu items cannot be read"
  fi
  keys "$2"
  sleep 0.3
  shown=$(read_aloud menus | awk -F'\t' -v top="$3" '$1 == top && $2 == "menu item" && $4 ~ /on-screen/ {
    print $3 ($4 ~ /checked/ ? "*" : "") }' | paste -sd'|')
  keys Escape Escape
  expect_eq "$1: the File menu read aloud" "$shown" "$4"
}

start_app || return
EN="New|Open...|Close|Save|Save As...|Print...|Send Mail...|Exit"
menus_read "start" alt+f File "$EN|1 Untitled*"
keys ctrl+n
menus_read "New" alt+f File "$EN|1 Untitled|2 Untitled:2*"
keys alt+f c
menus_read "Close of the active window" alt+f File "$EN|1 Untitled*"
keys ctrl+n alt+f 1
menus_read "another window activated" alt+f File "$EN|1 Untitled*|2 Untitled:2"
keys alt+o l f
menus_read "French" alt+f Fichier "Nouveau|Ouvrir..|Fermer|Sauver|Sauver Sous..|Imprimer...|Envoyer courrier...|Quitter"
keys alt+o l e
menus_read "Spanish" alt+a Archivo "Nuevo|Abrir..|Cerrar|Guardar|Guardar como..|Imprimir...|Enviar correo...|Salir"
keys alt+o i a
menus_read "German" alt+d Datei "Neu|Öffnen|Schließen|Speichern|Speichern unter|Drucken...|E-Mail senden...|Beenden"
keys alt+o s i
menus_read "Italian" alt+f File "Nuovo|Apri...|Chiudi|Salva|Salva con nome...|Stampa...|Invia messaggio...|Esci"
keys alt+o l i
menus_read "English" alt+f File "$EN|1 Untitled*|2 Untitled:2"
keys alt+f 2
menus_read "the other window again" alt+f File "$EN|1 Untitled|2 Untitled:2*"
keys alt+w t
menus_read "Tile" alt+f File "$EN|1 Untitled|2 Untitled:2*"
keys alt+w c
menus_read "Cascade" alt+f File "$EN|1 Untitled|2 Untitled:2*"
# Minimise and restore through the window's system menu, at its icon.
system_menu() {
  local x y
  read -r x y <<<"$(read_aloud where "$1")"
  xdotool mousemove $((x + 10)) $((y + 12)) click 1
  sleep 0.3
  keys "$2"
}
system_menu Untitled:2 n
menus_read "minimise" alt+f File "$EN|1 Untitled|2 Untitled:2*"
system_menu Untitled:2 r
menus_read "restore" alt+f File "$EN|1 Untitled|2 Untitled:2*"

# A line of 100,000 characters, held in pieces, reads whole: no line break at a cut.
long=$(python3 -c 'print(("word " * 20000).strip() + "x", end="")')
printf '%s' "$long" | xclip -selection clipboard
keys ctrl+n ctrl+v
sleep 1
got=$(read_aloud text)
expect_eq "the text of a 100,000-character line read aloud" "${#got}" "${#long}"
[ "$got" = "$long" ] || fail "the text read aloud differs from the line typed"
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
