#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs into a throw-away root: the files land where a desktop looks for
# them, and the desktop entry and the AppStream data are valid. The Debian
# package itself is tried by debian_test.sh.
set -euo pipefail
build=${1:?usage: package_test.sh BUILD_DIR}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fails=0
check() { if "$@"; then echo "PASS: $*"; else echo "FAIL: $*"; fails=$((fails + 1)); fi; }

cmake --install "$build" --prefix "$root/usr" >/dev/null
for f in usr/bin/quillora usr/share/applications/org.quillora.Quillora.desktop \
  usr/share/metainfo/org.quillora.Quillora.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/org.quillora.Quillora.svg \
  usr/share/icons/hicolor/16x16/apps/org.quillora.Quillora.png \
  usr/share/icons/hicolor/256x256/apps/org.quillora.Quillora.png usr/lib/quillora/libquillora_printing.so \
  usr/share/man/man1/quillora.1; do
  check test -s "$root/$f"
done
check desktop-file-validate "$root/usr/share/applications/org.quillora.Quillora.desktop"
check appstreamcli validate --no-net "$root/usr/share/metainfo/org.quillora.Quillora.metainfo.xml"
check grep -qx 'Exec=quillora' "$root/usr/share/applications/org.quillora.Quillora.desktop"
man_clean() { [ -z "$(MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)" ]; }
check man_clean "$root/usr/share/man/man1/quillora.1"

# The desktop speaks the program's five languages: the entry's fields, the
# AppStream summary and paragraphs, and the manual page.
entry="$root/usr/share/applications/org.quillora.Quillora.desktop"
metainfo="$root/usr/share/metainfo/org.quillora.Quillora.metainfo.xml"
paragraphs=$(grep -c '<p>' "$metainfo")
translated() {  # translated LANG HEADING: every field and text of that language
  local field
  for field in Name GenericName Comment Keywords; do
    grep -q "^$field\[$1\]=." "$entry" || return 1
  done
  grep -q "<summary xml:lang=\"$1\">" "$metainfo" || return 1
  [ "$(grep -c "<p xml:lang=\"$1\">" "$metainfo")" -eq "$paragraphs" ] || return 1
  grep -q "<lang>$1</lang>" "$metainfo" || return 1
  local page
  page=$(MANPATH="$root/usr/share/man" MANWIDTH=80 man --warnings -L "$1" quillora 2>"$root/man-$1.err") || return 1
  [ ! -s "$root/man-$1.err" ] && grep -q "^$2" <<<"$page"
}
check translated fr NOM
check translated es NOMBRE
check translated de BEZEICHNUNG
check translated it NOME

[ "$fails" -eq 0 ] && echo "package: all checks passed"
exit "$fails"
