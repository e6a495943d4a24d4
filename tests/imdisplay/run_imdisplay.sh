#!/usr/bin/env bash
# Runs the input-method key test on a private X server and session bus, with a
# Japanese input method (mozc under ibus or under fcitx5) running and switched on.
# Mozc refuses to run as root, so root hands the run to an unprivileged user.
# Usage: run_imdisplay.sh ibus|fcitx TEST_PROGRAM
set -euo pipefail
im=$1
prog=$2
user=velotapper-im
skip() {
  echo "SKIP: $*"
  exit 77
}

case $im in
ibus) need=(ibus-daemon ibus gsettings /usr/lib/ibus-mozc/ibus-engine-mozc) ;;
fcitx) need=(fcitx5) ;;
*) echo "unknown input method $im"; exit 2 ;;
esac
for tool in Xvfb xdotool setxkbmap dbus-run-session gdbus "${need[@]}"; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh --test installs it)"
done
shopt -s nullglob
plugins=(/usr/lib/*/qt6/plugins/platforminputcontexts/lib"$im"*.so
         /usr/lib/*/fcitx5/*mozc*.so)
[ "$im" = fcitx ] && [ ${#plugins[@]} -lt 2 ] && skip "fcitx5-frontend-qt6 or fcitx5-mozc is missing"
[ "$im" = ibus ] && [ ${#plugins[@]} -lt 1 ] && skip "Qt's ibus input context plugin is missing"

if [ "${3:-}" != --session ]; then
  if [ "$(id -u)" -eq 0 ]; then
    id "$user" >/dev/null 2>&1 || useradd --create-home "$user" || skip "cannot create user $user"
    runuser -u "$user" -- test -x "$prog" || skip "$user cannot run $prog"
    exec runuser -u "$user" -- dbus-run-session -- "$0" "$im" "$prog" --session
  fi
  exec dbus-run-session -- "$0" "$im" "$prog" --session
fi

# From here on: the unprivileged user, inside a session bus of its own.
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# A fresh home: no learnt conversions or settings from an earlier run.
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp NO_AT_BRIDGE=1
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

mkfifo "$tmp/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 800x600x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
read -r display <"$tmp/display" || true
[ -n "${display:-}" ] || { echo "Xvfb did not start:"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
unset XMODIFIERS WAYLAND_DISPLAY
setxkbmap -model jp106 -layout jp

case $im in
ibus)
  # Mozc starts in hiragana mode rather than direct input.
  mkdir -p "$XDG_CONFIG_HOME/mozc"
  cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'END'
engines {
  name: "mozc-jp"
  longname: "Mozc"
  layout: "default"
  layout_variant: ""
  layout_option: ""
  rank: 80
}
active_on_launch: True
END
  gsettings set org.freedesktop.ibus.general preload-engines "['mozc-jp']"
  ibus-daemon --replace --panel=disable --emoji-extension=disable --cache=refresh \
    >"$tmp/im.log" 2>&1 &
  pids+=($!)
  gdbus wait --session --timeout 20 org.freedesktop.IBus || { cat "$tmp/im.log"; skip "ibus-daemon did not start"; }
  ibus engine mozc-jp >/dev/null 2>&1 || true
  [ "$(ibus engine 2>/dev/null)" = mozc-jp ] || { cat "$tmp/im.log"; skip "ibus has no mozc-jp engine"; }
  ;;
fcitx)
  mkdir -p "$XDG_CONFIG_HOME/fcitx5"
  printf '[Behavior]\nActiveByDefault=True\nShareInputState=All\n' >"$XDG_CONFIG_HOME/fcitx5/config"
  cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'END'
[Groups/0]
Name=Default
Default Layout=jp
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-jp
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
END
  fcitx5 --replace >"$tmp/im.log" 2>&1 &
  pids+=($!)
  gdbus wait --session --timeout 20 org.fcitx.Fcitx5 || { cat "$tmp/im.log"; skip "fcitx5 did not start"; }
  ;;
esac

export QT_IM_MODULE=$im
echo "== $im on $DISPLAY"
"$prog" -platform xcb
