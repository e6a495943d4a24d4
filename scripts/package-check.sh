#!/usr/bin/env bash
# package-check.sh — builds the Debian package and proves it works as installed:
# release build in build/package with Debian's hardening flags, cpack -G DEB,
# lintian clean (no error, no warning), hardening checked, desktop entry and
# AppStream data validated, package installed (apt-get as root; else unpacked with dpkg -x),
# the menu entry's command started under Xvfb with a fresh HOME, and checked for
# its main window, its working folder and the lessons placed there.
# PACKAGE_CHECK_UNPACK_ONLY=1 skips the system install; PACKAGE_BUILD_DIR picks
# another build folder. Exits non-zero on the first failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bdir="${PACKAGE_BUILD_DIR:-$top/build/package}"
app_id=io.github.velotapper.velotapper
lessons=(Lesson1.txt Lesson2.txt Lesson3.txt)
wait_s=${PACKAGE_CHECK_TIMEOUT:-30}

step() { printf '== %s\n' "$*"; }
fail() {
  printf 'package-check: FAIL: %s\n' "$*" >&2
  exit 1
}
for t in cmake cpack dpkg-deb dpkg-buildflags lintian readelf desktop-file-validate appstreamcli Xvfb xdotool timeout; do
  command -v "$t" >/dev/null || fail "$t is missing (scripts/deps.sh --test installs it)"
done

tmp=$(mktemp -d /tmp/velotapper-pkg.XXXXXX)
xvfb_pid="" app_pid="" installed_here=""
cleanup() {
  set +e
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if [ -n "$installed_here" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq velotapper >/dev/null 2>&1
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

step "release build in build/package"
# Debian's hardening: PIE, full RELRO with immediate binding, fortified functions,
# stack protector. Given on the command line so a reused build folder takes them too.
buildflag() { (cd "$top" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
cmake -S "$top" -B "$bdir" -DCMAKE_BUILD_TYPE=Release -DVELOTAPPER_TESTS=OFF \
  -DVELOTAPPER_BENCH=OFF -DVELOTAPPER_SANITIZE=OFF \
  -DCMAKE_CXX_FLAGS="$(buildflag CPPFLAGS) $(buildflag CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(buildflag LDFLAGS)" \
  -DCMAKE_MODULE_LINKER_FLAGS="$(buildflag LDFLAGS)" >/dev/null
cmake --build "$bdir" --parallel "$(nproc)" >/dev/null || fail "build failed"

step "cpack -G DEB"
rm -f "$bdir"/velotapper_*.deb
(cd "$bdir" && cpack -G DEB >"$tmp/cpack.log" 2>&1) || {
  cat "$tmp/cpack.log" >&2
  fail "cpack failed"
}
debs=("$bdir"/velotapper_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one velotapper_*.deb"
deb=${debs[0]}
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends | tee "$tmp/depends"
for d in libqt6widgets6 libqt6multimedia6 fonts-ipafont-gothic qt6-qpa-plugins; do
  grep -q "$d" "$tmp/depends" || fail "Depends lacks $d"
done

step "lintian"
lintian_ok=1
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" \
  >"$tmp/lintian.log" 2>&1 || lintian_ok=""
cat "$tmp/lintian.log"
[ -n "$lintian_ok" ] || fail "lintian reports errors or warnings (or did not run)"

step "contents and validation"
dpkg-deb -x "$deb" "$tmp/root"
for f in usr/bin/velotapper usr/bin/velotapper-launch usr/share/doc/velotapper/copyright \
  usr/share/doc/velotapper/changelog.gz usr/share/man/man1/velotapper.1.gz \
  usr/share/man/man1/velotapper-launch.1.gz usr/bin/velotapper-class usr/share/man/man1/velotapper-class.1.gz \
  "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
  usr/share/icons/hicolor/scalable/apps/velotapper.svg \
  usr/share/icons/hicolor/48x48/apps/velotapper.png \
  usr/share/velotapper/translations/velotapper_en.qm; do
  [ -e "$tmp/root/$f" ] || fail "package lacks /$f"
done
compgen -G "$tmp/root/usr/lib/*/velotapper/velotapper-sound.so" >/dev/null ||
  fail "package lacks the sound module"
compgen -G "$tmp/root/usr/lib/*/velotapper/velotapper-class-link.so" >/dev/null ||
  fail "package lacks the class module"
for l in "${lessons[@]}"; do
  [ -s "$tmp/root/usr/share/velotapper/lessons/$l" ] || fail "package lacks lesson $l"
done
# Lintian warns of a missing PIE or RELRO; it only notes the rest, and notes
# "no fortify functions" even when fortified, if no call needs a run-time check.
bin="$tmp/root/usr/bin/velotapper"
elf=$(readelf -W -h -l -d --dyn-syms "$bin")
grep -q 'Type: *DYN' <<<"$elf" || fail "velotapper is not position-independent"
grep -q GNU_RELRO <<<"$elf" || fail "velotapper has no RELRO segment"
grep -q BIND_NOW <<<"$elf" || fail "velotapper does not bind immediately"
grep -q __stack_chk_fail <<<"$elf" || fail "velotapper has no stack protector"
grep -q -- '-D_FORTIFY_SOURCE=2' "$bdir/CMakeCache.txt" || fail "not built with _FORTIFY_SOURCE"
desktop-file-validate "$tmp/root/usr/share/applications/$app_id.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$tmp/root/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli validate"

step "install"
prefix=""
if [ -z "${PACKAGE_CHECK_UNPACK_ONLY:-}" ] && [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  dpkg-query -W -f='${Status}' velotapper 2>/dev/null | grep -q 'install ok installed' ||
    installed_here=1
  if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$tmp/apt.log" 2>&1; then
    prefix=/usr
  else
    installed_here=""
    tail -5 "$tmp/apt.log" >&2
    echo "apt-get install failed; checking the unpacked package instead" >&2
  fi
fi
if [ -z "$prefix" ]; then
  prefix="$tmp/root/usr"
  export PATH="$prefix/bin:$PATH"
  export XDG_DATA_DIRS="$prefix/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
fi
desktop="$prefix/share/applications/$app_id.desktop"
exec_cmd=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
[ -n "$exec_cmd" ] || fail "no Exec line in $desktop"
launcher=$(command -v "${exec_cmd%% *}") || fail "Exec command '$exec_cmd' not found on PATH"
[ "$launcher" = "$prefix/bin/velotapper-launch" ] || fail "Exec runs $launcher, not $prefix/bin/velotapper-launch"

step "start the menu entry's command under Xvfb"
export HOME="$tmp/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME QT_QPA_PLATFORM QT_SCALE_FACTOR
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
work="$HOME/.local/share/velotapper"
# A lesson of the user's own must survive the launcher.
mkdir -p "$work"
printf 'my own lesson\n' >"$work/Lesson2.txt"

exec 3>"$tmp/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
  sleep 0.1
done
[ -s "$tmp/display" ] || fail "Xvfb gave no display number"
export DISPLAY=":$(head -n 1 "$tmp/display")"

"$launcher" >"$tmp/app.log" 2>&1 &
app_pid=$!
if ! wid=$(timeout "$wait_s" xdotool search --sync --onlyvisible --name '^Velotapper$' 2>/dev/null | head -n 1) ||
  [ -z "$wid" ]; then
  cat "$tmp/app.log" >&2
  fail "no Velotapper window within ${wait_s}s"
fi
kill -0 "$app_pid" 2>/dev/null || fail "program ended early: $(cat "$tmp/app.log")"
geom=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
echo "main window $wid, $geom"
wmclass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
xdotool search --class "^$wmclass\$" | grep -qx "$wid" ||
  fail "main window's class does not match StartupWMClass=$wmclass"
if command -v xprop >/dev/null; then
  # Read whole before it is searched: a search that stops at the first match would cut
  # the long icon listing short, and under pipefail that reads as no icon.
  icon=""
  for _ in $(seq 50); do
    icon=$(xprop -id "$wid" _NET_WM_ICON 2>&1 || true)
    grep -q 'Icon (' <<<"$icon" && break
    sleep 0.1
  done
  if ! grep -q 'Icon (' <<<"$icon"; then
    printf '%s\n' "$icon" | head -n 3 >&2
    cat "$tmp/app.log" >&2
    fail "main window carries no icon"
  fi
fi

step "working folder"
[ "$(readlink -f "/proc/$app_pid/cwd")" = "$(readlink -f "$work")" ] ||
  fail "program runs in $(readlink "/proc/$app_pid/cwd"), not $work"
for l in Lesson1.txt Lesson3.txt; do
  cmp -s "$prefix/share/velotapper/lessons/$l" "$work/$l" || fail "$l was not copied into $work"
done
[ "$(cat "$work/Lesson2.txt")" = "my own lesson" ] || fail "the user's Lesson2.txt was overwritten"

step "stop"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "package-check: OK"
