#!/usr/bin/env bash
# Runs the input-method key test on a private X server and session bus, with a
# Japanese input method (mozc under ibus or under fcitx5) running and switched on.
# Mozc refuses to run as root, so root hands the run to an unprivileged user.
# Usage: run_imdisplay.sh TEST_PROGRAM [ibus|fcitx5]
set -euo pipefail
prog=$1
im=${2:-ibus}
user=velotapper-im
skip() {
  echo "SKIP: $*"
  exit 77
}

case $im in
ibus)
  tools=(gdbus gsettings ibus-daemon ibus /usr/lib/ibus-mozc/ibus-engine-mozc)
  plugin=libibusplatforminputcontextplugin.so
  ;;
fcitx5)
  tools=(gdbus fcitx5 fcitx5-remote)
  plugin=libfcitx5platforminputcontextplugin.so
  ;;
*)
  echo "unknown input method: $im" >&2
  exit 2
  ;;
esac
for tool in Xvfb xdotool setxkbmap dbus-run-session "${tools[@]}"; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh --test installs it)"
done
shopt -s nullglob
plugins=(/usr/lib/*/qt6/plugins/platforminputcontexts/$plugin)
[ ${#plugins[@]} -gt 0 ] || skip "Qt's $im input context plugin is missing"
if [ "$im" = fcitx5 ]; then
  mozc=(/usr/lib/*/fcitx5/fcitx5-mozc.so)
  [ ${#mozc[@]} -gt 0 ] || skip "fcitx5 has no mozc (fcitx5-mozc)"
fi

if [ "${3:-}" != --session ]; then
  if [ "$(id -u)" -eq 0 ]; then
    id "$user" >/dev/null 2>&1 || useradd --create-home "$user" || skip "cannot create user $user"
    runuser -u "$user" -- test -x "$prog" || skip "$user cannot run $prog"
    exec runuser -u "$user" -- dbus-run-session -- "$0" "$prog" "$im" --session
  fi
  exec dbus-run-session -- "$0" "$prog" "$im" --session
fi

# From here on: the unprivileged user, inside a session bus of its own.
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  # Mozc's server outlives the engine that started it: end this run's, no other.
  for p in $(pgrep -u "$(id -u)" -x mozc_server || true); do
    if grep -qzx "HOME=$HOME" "/proc/$p/environ" 2>/dev/null; then kill "$p" 2>/dev/null || true; fi
  done
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

start_ibus() {
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
  export QT_IM_MODULE=ibus
}

start_fcitx5() {
  # One group: the Japanese keyboard and mozc, mozc chosen and active in every new
  # input context.
  mkdir -p "$XDG_CONFIG_HOME/fcitx5"
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
  cat >"$XDG_CONFIG_HOME/fcitx5/config" <<'END'
[Behavior]
ActiveByDefault=True
END
  fcitx5 --disable=wayland,notificationitem >"$tmp/im.log" 2>&1 &
  pids+=($!)
  gdbus wait --session --timeout 20 org.fcitx.Fcitx5 || { cat "$tmp/im.log"; skip "fcitx5 did not start"; }
  # The Qt module makes its input context some time after the focus; the test waits
  # for fcitx5-remote to say 2 (active) before it types.
  export QT_IM_MODULE=fcitx
}

"start_$im"
echo "== $im with mozc on $DISPLAY"
"$prog" -platform xcb
