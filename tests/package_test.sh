#!/usr/bin/env bash
# Installs into a throw-away root and builds the Debian package: the files land
# where a desktop looks for them, and the desktop entry, the AppStream data and
# the package's control data are valid.
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
  usr/share/icons/hicolor/256x256/apps/org.quillora.Quillora.png usr/lib/quillora/libquillora_printing.so; do
  check test -s "$root/$f"
done
check desktop-file-validate "$root/usr/share/applications/org.quillora.Quillora.desktop"
check appstreamcli validate --no-net "$root/usr/share/metainfo/org.quillora.Quillora.metainfo.xml"
check grep -qx 'Exec=quillora' "$root/usr/share/applications/org.quillora.Quillora.desktop"

(cd "$build" && cpack -G DEB -B "$root/pkg" >/dev/null)
deb=$(ls "$root"/pkg/quillora_*.deb)
check test -n "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins libcups2; do
  check grep -q "$dep" <<<"$depends"
done
contents=$(dpkg-deb -c "$deb")
check grep -q './usr/bin/quillora$' <<<"$contents"
check grep -q 'applications/org.quillora.Quillora.desktop$' <<<"$contents"
dpkg-deb -x "$deb" "$root/extracted"
check test -x "$root/extracted/usr/bin/quillora"

[ "$fails" -eq 0 ] && echo "package: all checks passed"
exit "$fails"
