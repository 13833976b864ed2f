#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a maintainer would try it: built with
# dpkg-buildpackage from the tracked files in a throw-away Debian 12 build root
# that holds nothing but the declared build dependencies, lintian clean,
# stripped with its symbols in a separate package; then installed with apt into
# another throw-away Debian 12 root, started there on a virtual display until
# its frame window appears, and purged, leaving none of its files behind. Both
# roots are bootstrapped from this machine's own apt sources. Needs root and
# the package archive.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
sources=${QUILLORA_APT_SOURCES:-/etc/apt/sources.list.d/debian.sources}
[ -f "$sources" ] || sources=/etc/apt/sources.list

die() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || die "the clean-root test needs root"
command -v lintian >/dev/null || die "lintian is missing (scripts/install-deps.sh --tests)"
command -v mmdebstrap >/dev/null || die "no bootstrap tool: mmdebstrap is missing (scripts/install-deps.sh --tests)"
[ -s "$sources" ] || die "no package archive: $sources does not exist"

work=$(mktemp -d)
cleanup() {
  # Whatever a bootstrap left mounted under a root goes before the root.
  findmnt -rno TARGET | grep -F "$work/" | sort -r | xargs -r -n1 umount -l 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Building the package in a clean Debian 12 build root, with its build dependencies only"
(cd "$src" && git ls-files -co --exclude-standard | grep -v '^build' | tar -cf "$work/source.tar" -T -)
cat >"$work/build.sh" <<'SH'
set -eu
export DEBIAN_FRONTEND=noninteractive
mkdir -p /build/quillora /build/out
tar -xf /tmp/source.tar -C /build/quillora
apt-get build-dep -y -q /build/quillora
cd /build/quillora
dpkg-buildpackage -us -uc -b
mv /build/*.deb /build/*.changes /build/*.buildinfo /build/out/
SH
mkdir "$work/out"
mmdebstrap --variant=buildd --aptopt='Acquire::Check-Valid-Until "false"' \
  --customize-hook="copy-in $work/source.tar $work/build.sh /tmp" \
  --customize-hook='chroot "$1" sh /tmp/build.sh' \
  --customize-hook="sync-out /build/out $work/out" \
  bookworm "$work/buildroot" "$sources" >"$work/build.log" 2>&1 || {
  tail -n 40 "$work/build.log"
  die "dpkg-buildpackage failed in the clean build root"
}
rm -rf "$work/buildroot"
grep -E 'tests passed|tests failed' "$work/build.log" || true
changes=$(ls "$work"/out/quillora_*.changes)
deb=$(ls "$work"/out/quillora_*_*.deb)
ls "$work"/out/quillora-dbgsym_*.deb >/dev/null 2>&1 || die "no debug-symbols package"

echo "== lintian"
lintian --fail-on warning --info "$changes" || die "lintian reports warnings or errors"

echo "== Stripped binaries"
dpkg-deb -x "$deb" "$work/extracted"
for f in usr/bin/quillora usr/lib/quillora/libquillora_printing.so; do
  [ -f "$work/extracted/$f" ] || die "$f is not in the package"
  if readelf -S "$work/extracted/$f" | grep -qE '\.(debug_info|symtab)\b'; then die "$f is not stripped"; fi
done

echo "== Install, start and purge in a clean Debian 12 root"
cp "$deb" "$work/quillora.deb"
cat >"$work/inside.sh" <<'SH'
set -eu
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q --no-install-recommends /tmp/quillora.deb
dpkg -L quillora >/tmp/quillora.files
# The desktop reads the program's entry, its AppStream data and its manual
# page in each of its languages.
for l in fr_FR:fr:NOM es_ES:es:NOMBRE de_DE:de:BEZEICHNUNG it_IT:it:NOME; do
  locale=${l%%:*}; rest=${l#*:}; lang=${rest%%:*}; heading=${rest#*:}
  sed -i "s/^# *$locale.UTF-8 UTF-8/$locale.UTF-8 UTF-8/" /etc/locale.gen
  locale-gen >/dev/null
  for field in Name GenericName Comment; do
    grep -q "^$field\[$lang\]=." /usr/share/applications/org.quillora.Quillora.desktop ||
      { echo "FAIL: the desktop entry has no $field[$lang]"; exit 1; }
  done
  grep -q "<summary xml:lang=\"$lang\">" /usr/share/metainfo/org.quillora.Quillora.metainfo.xml &&
    grep -q "<p xml:lang=\"$lang\">" /usr/share/metainfo/org.quillora.Quillora.metainfo.xml ||
    { echo "FAIL: the AppStream data is not in $lang"; exit 1; }
  LANG=$locale.UTF-8 LC_ALL=$locale.UTF-8 MANWIDTH=80 man quillora 2>/dev/null | grep -q "^$heading" ||
    { echo "FAIL: man does not show the $locale page"; exit 1; }
  echo "PASS: the desktop entry, the AppStream data and the manual page read in $locale"
done
pids=""
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done' EXIT
Xvfb :7 -nolisten tcp -screen 0 1024x768x24 >/tmp/xvfb.log 2>&1 &
pids="$!"
sleep 1
mkdir -p /tmp/home /tmp/run && chmod 700 /tmp/run
DISPLAY=:7 HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/run /usr/bin/quillora >/tmp/quillora.log 2>&1 &
pids="$! $pids"
if DISPLAY=:7 timeout 30 xdotool search --sync --onlyvisible --name '^Quillora$' >/dev/null; then
  echo "PASS: the frame window appeared"
else
  echo "FAIL: no frame window"; cat /tmp/quillora.log; exit 1
fi
for p in $pids; do kill "$p"; wait "$p" 2>/dev/null || true; done
pids=""
apt-get purge -y -q quillora
left=0
while read -r f; do
  case "$f" in
    *quillora*|*Quillora*) if [ -e "$f" ] || [ -L "$f" ]; then echo "left behind: $f"; left=1; fi ;;
  esac
done </tmp/quillora.files
[ "$left" -eq 0 ] || { echo "FAIL: files remain after purge"; exit 1; }
echo "PASS: purge removed every file"
SH
mmdebstrap --variant=apt --include=xvfb,xdotool,man-db,locales \
  --aptopt='Acquire::Check-Valid-Until "false"' \
  --customize-hook="copy-in $work/quillora.deb $work/inside.sh /tmp" \
  --customize-hook='chroot "$1" sh /tmp/inside.sh' \
  bookworm "$work/root" "$sources" >"$work/bootstrap.log" 2>&1 || {
  tail -n 40 "$work/bootstrap.log"
  die "the clean-root install, start or purge failed"
}
grep -E '^(PASS|FAIL)' "$work/bootstrap.log"
echo "debian: all checks passed"
