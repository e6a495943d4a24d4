# Sourced by the real-display test scripts: checks the tools named in $tools, starts a
# private X server with a jp keyboard and exports DISPLAY; $tmp is a scratch folder
# removed on exit.
for tool in Xvfb xdotool setxkbmap $tools; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/deps.sh --test installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

# -displayfd picks a free display and reports it, so parallel runs never collide;
# -noreset keeps the keymap when setxkbmap disconnects.
mkfifo "$tmp/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 800x600x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
read -r display <"$tmp/display" || true
if [ -z "${display:-}" ]; then
  echo "Xvfb did not start:"; cat "$tmp/xvfb.log"; exit 1
fi
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$tmp"
unset QT_IM_MODULE XMODIFIERS WAYLAND_DISPLAY
setxkbmap -model jp106 -layout jp
