#!/usr/bin/env bash
# Installs every Debian package Vorlix needs to build, run and test.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
pkgs=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-webengine-dev
  qt6-l10n-tools libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev liblz4-dev libxcb1-dev libsqlite3-dev
  xvfb xauth util-linux ccache
  desktop-file-utils appstream shared-mime-info dpkg-dev
  libssl-dev lighttpd lighttpd-mod-webdav python3-cryptography libgit2-dev git
  qtkeychain-qt6-dev gnome-keyring dbus-daemon
)
# The fuzz targets (cmake -DVORLIX_FUZZ=ON) need clang and its libFuzzer.
if [ "${VORLIX_FUZZ:-OFF}" = "ON" ]; then pkgs+=(clang-14 libclang-rt-14-dev); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
