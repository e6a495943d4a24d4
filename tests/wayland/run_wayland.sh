#!/usr/bin/env bash
# Runs the real-display key test on a headless Wayland compositor (sway) with a
# jp106 keyboard and the jp layout; the keys come from our virtual keyboard client.
# sway refuses to run as root, so as root the compositor, the program and the client
# run as an unprivileged user made for it.
# Usage: run_wayland.sh TEST_PROGRAM VKBD [TEST ARGUMENTS]
set -euo pipefail
prog=$1
vkbd=$2
skip() { echo "SKIP: $*"; exit 77; }
for tool in sway grim; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh --test installs it)"
done

as_user=()
user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  user=velotapper-wl
  # Another run may create it at the same moment: only its absence afterwards counts.
  id "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" 2>/dev/null ||
    id "$user" >/dev/null 2>&1 || skip "cannot create the user $user to run the compositor"
  as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups --)
fi
for f in "$prog" "$vkbd"; do
  "${as_user[@]}" test -x "$f" || skip "$user cannot run $f (a folder on its path is closed to it)"
done

tmp=$(mktemp -d)
sway_pid=
cleanup() {
  if [ -n "$sway_pid" ]; then kill "$sway_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
chown "$user" "$tmp"
chmod 700 "$tmp"

# sway says it is up by writing its display name into a pipe; the wrapper writes
# "exited" there when sway ends, so a compositor that dies is never waited for.
mkfifo "$tmp/ready"
chown "$user" "$tmp/ready"
exec 3<>"$tmp/ready"
cat >"$tmp/sway.conf" <<CONF
xwayland disable
input * xkb_model jp106
input * xkb_layout jp
# Qt draws the title bars, as on compositors without server-side decorations.
for_window [app_id=".*"] border csd
exec sh -c 'echo "\$WAYLAND_DISPLAY" >"$tmp/ready"'
CONF
unset DISPLAY WAYLAND_DISPLAY QT_IM_MODULE XMODIFIERS
export HOME=$tmp XDG_RUNTIME_DIR=$tmp
(
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" sway -c "$tmp/sway.conf" >"$tmp/sway.log" 2>&1 &
  echo $! >"$tmp/sway.pid"
  wait $! || true
  echo exited >&3
) &
display=
read -r -t 30 -u 3 display || true
sway_pid=$(cat "$tmp/sway.pid" 2>/dev/null || true)
if [ -z "$display" ] || [ "$display" = exited ]; then
  echo "sway log:"
  cat "$tmp/sway.log"
  skip "the compositor did not start"
fi

echo "== sway on $display, keyboard jp106/jp, as $user"
WAYLAND_DISPLAY=$display QT_QPA_PLATFORM=wayland VELOTAPPER_VKBD=$vkbd \
  "${as_user[@]}" "$prog" -platform wayland "${@:3}"
