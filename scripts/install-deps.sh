#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what a fresh Debian 12 machine lacks to build, run and test Quillora.
# Usage: scripts/install-deps.sh [--tests | --bench]
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

build_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools
  qt6-svg-dev qt6-qpa-plugins libx11-dev libcups2-dev libgl-dev fonts-dejavu-core
  libwayland-dev libxkbcommon-dev qt6-base-private-dev libsm-dev libice-dev)
run_pkgs=(xvfb xdotool x11-utils imagemagick qt6-translations-l10n)
test_pkgs=(xvfb xdotool x11-utils xdg-utils xclip cups printer-driver-cups-pdf
  poppler-utils openbox dbus-x11 clang-format clang-tidy desktop-file-utils appstream
  clang libclang-rt-14-dev python3-pyatspi at-spi2-core dbus-daemon cups-client man-db
  debhelper dpkg-dev fakeroot lintian mmdebstrap binutils weston qt6-wayland xwayland
  btrfs-progs acl attr libsm-dev libice-dev python3-gi git wmctrl
  xdg-desktop-portal xdg-desktop-portal-gtk locales clazy)

# The benchmark runs as on a desktop (bench/run_desktop.sh) and measures the
# font menus with some 225 installed font families; bench/peers.sh times
# keys as the display sees them (XTest, Damage) beside other editors.
bench_pkgs=(xvfb openbox dbus-daemon fonts-noto-core x11-apps xdotool xdg-desktop-portal xdg-desktop-portal-gtk
  libxtst-dev libxdamage-dev mousepad l3afpad featherpad)

want=("${build_pkgs[@]}" "${run_pkgs[@]}")
if [ "${1:-}" = "--tests" ]; then want+=("${test_pkgs[@]}"); fi
if [ "${1:-}" = "--bench" ]; then want+=("${bench_pkgs[@]}"); fi

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
