#!/usr/bin/env bash
# Installs the Debian packages the build needs; with --test also what the tests
# and the real-display checks need. Installs only what is missing.
set -euo pipefail
pkgs=(cmake g++ make qt6-base-dev libgl-dev fonts-ipafont-gothic libqt6sql6-sqlite libsqlite3-dev
      libmecab-dev libmecab2 mecab-ipadic-utf8 qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
      qt6-multimedia-dev libpq-dev)
if [ "${1:-}" = "--test" ]; then
  pkgs+=(xvfb xdotool x11-xkb-utils xauth clang libclang-rt-14-dev desktop-file-utils appstream
         ibus ibus-mozc fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus libglib2.0-bin procps
         lintian dpkg-dev
         sway grim qt6-wayland libwayland-dev libxkbcommon-dev pkg-config sqlite3 locales
         pulseaudio pulseaudio-utils postgresql)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The language tests run the program under a Japanese and an English locale.
if [ "${1:-}" = "--test" ]; then
  generate=0
  for l in ja_JP en_US; do
    locale -a 2>/dev/null | grep -qix "$l.utf-\?8" && continue
    grep -qx "$l.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null ||
      echo "$l.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    generate=1
  done
  [ $generate -eq 0 ] || $sudo locale-gen >/dev/null
fi
