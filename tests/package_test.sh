#!/usr/bin/env bash
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

[ "$fails" -eq 0 ] && echo "package: all checks passed"
exit "$fails"
