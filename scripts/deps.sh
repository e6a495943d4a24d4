#!/usr/bin/env bash
# Installs the Debian packages the build needs; with --test also what the tests
# and the real-display checks need. Installs only what is missing.
set -euo pipefail
pkgs=(cmake g++ make qt6-base-dev libgl-dev fonts-ipafont-gothic libqt6sql6-sqlite libsqlite3-dev
      libmecab-dev libmecab2 mecab-ipadic-utf8)
if [ "${1:-}" = "--test" ]; then
  pkgs+=(xvfb xdotool x11-xkb-utils xauth clang libclang-rt-14-dev desktop-file-utils appstream
         ibus ibus-mozc fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus libglib2.0-bin procps
         lintian dpkg-dev
         sway grim qt6-wayland libwayland-dev libxkbcommon-dev pkg-config sqlite3)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
