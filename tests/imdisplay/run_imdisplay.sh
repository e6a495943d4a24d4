#!/usr/bin/env bash
# Runs the input-method key test on a private X server and session bus, with a
# Japanese input method (mozc under ibus) running and switched on.
# Mozc refuses to run as root, so root hands the run to an unprivileged user.
# Usage: run_imdisplay.sh TEST_PROGRAM
set -euo pipefail
prog=$1
user=velotapper-im
skip() {
  echo "SKIP: $*"
  exit 77
}

for tool in Xvfb xdotool setxkbmap dbus-run-session gdbus gsettings ibus-daemon ibus \
  /usr/lib/ibus-mozc/ibus-engine-mozc; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh --test installs it)"
done
shopt -s nullglob
plugins=(/usr/lib/*/qt6/plugins/platforminputcontexts/libibusplatforminputcontextplugin.so)
[ ${#plugins[@]} -gt 0 ] || skip "Qt's ibus input context plugin is missing"

if [ "${2:-}" != --session ]; then
  if [ "$(id -u)" -eq 0 ]; then
    id "$user" >/dev/null 2>&1 || useradd --create-home "$user" || skip "cannot create user $user"
    runuser -u "$user" -- test -x "$prog" || skip "$user cannot run $prog"
    exec runuser -u "$user" -- dbus-run-session -- "$0" "$prog" --session
  fi
  exec dbus-run-session -- "$0" "$prog" --session
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
echo "== ibus with mozc on $DISPLAY"
"$prog" -platform xcb
