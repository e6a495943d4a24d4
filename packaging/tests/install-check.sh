#!/usr/bin/env bash
# install-check.sh BUILD_DIR APP_ID — installs the build into a temporary prefix,
# checks the layout, then runs the installed launcher (with a stand-in program
# that reports where and how it was started) through the cases that matter to a
# user: first start, a start with the user's own lessons, XDG_DATA_HOME, a
# folder name with blanks, a launcher reached through a symbolic link.
set -euo pipefail
build=$1 app_id=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() { # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what" >&2; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
p=$tmp/usr
for f in bin/velotapper bin/velotapper-launch share/applications/$app_id.desktop \
  share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/velotapper.svg \
  share/velotapper/lessons/Lesson1.txt share/velotapper/lessons/Lesson2.txt \
  share/velotapper/lessons/Lesson3.txt share/velotapper/lessons/Japanese1.txt \
  share/velotapper/lessons/Japanese2.txt share/velotapper/lessons/Japanese3.txt \
  share/velotapper/translations/velotapper_en.qm \
  share/doc/velotapper/copyright share/doc/velotapper/changelog.gz \
  share/man/man1/velotapper.1.gz share/man/man1/velotapper-launch.1.gz \
  bin/velotapper-class share/man/man1/velotapper-class.1.gz; do
  check "installs $f" test -s "$p/$f"
done
for s in 16 22 24 32 48 64 128 256; do
  check "installs the ${s}x$s icon" test -s "$p/share/icons/hicolor/${s}x$s/apps/velotapper.png"
done
check "installs the sound module" compgen -G "$p/lib/*/velotapper/velotapper-sound.so"
check "installs the class module" compgen -G "$p/lib/*/velotapper/velotapper-class-link.so"
check "launcher is executable" test -x "$p/bin/velotapper-launch"
check "desktop entry runs the launcher" grep -qx 'Exec=velotapper-launch' "$p/share/applications/$app_id.desktop"
check "desktop entry names the icon" grep -qx 'Icon=velotapper' "$p/share/applications/$app_id.desktop"
check "metainfo launches the desktop entry" grep -q ">$app_id.desktop<" "$p/share/metainfo/$app_id.metainfo.xml"

# The stand-in records its working folder and arguments, and exits with 7.
cat >"$p/bin/velotapper" <<'STUB'
#!/bin/sh
pwd >"$REPORT"
echo "$#" >>"$REPORT"
exit 7
STUB
chmod +x "$p/bin/velotapper"
export REPORT="$tmp/report"
launch() { # HOME [XDG_DATA_HOME] -> exit status in $status
  status=0
  if [ $# -gt 1 ]; then
    env -u XDG_DATA_HOME HOME="$1" XDG_DATA_HOME="$2" "$launcher" || status=$?
  else
    env -u XDG_DATA_HOME HOME="$1" "$launcher" || status=$?
  fi
}
same() { cmp -s "$1" "$2"; }
launcher=$p/bin/velotapper-launch

# First start: the folder is made, all lessons copied, the program runs in it.
home=$tmp/home1
mkdir -p "$home"
launch "$home"
work=$home/.local/share/velotapper
check "first start runs in ~/.local/share/velotapper" test "$(head -n 1 "$REPORT")" = "$work"
for l in Lesson1 Lesson2 Lesson3 Japanese1 Japanese2 Japanese3; do
  check "first start copies $l.txt" same "$p/share/velotapper/lessons/$l.txt" "$work/$l.txt"
done
check "program's exit status comes back" test "$status" = 7
check "program gets no arguments" test "$(sed -n 2p "$REPORT")" = 0

# The user's own lessons and record stay; a deleted lesson comes back.
printf 'my lesson\n' >"$work/Lesson2.txt"
printf 'record' >"$work/Velotap.bin"
rm "$work/Lesson3.txt"
launch "$home"
check "user's lesson is kept" test "$(cat "$work/Lesson2.txt")" = "my lesson"
check "record is kept" test "$(cat "$work/Velotap.bin")" = record
check "missing lesson is copied again" same "$p/share/velotapper/lessons/Lesson3.txt" "$work/Lesson3.txt"

# XDG_DATA_HOME with a blank in its name.
data="$tmp/my data"
launch "$tmp/home2" "$data"
check "XDG_DATA_HOME is honoured" test "$(head -n 1 "$REPORT")" = "$data/velotapper"
check "lessons land under XDG_DATA_HOME" test -s "$data/velotapper/Lesson1.txt"
check "nothing is made under HOME then" test ! -e "$tmp/home2/.local"

# Reached through a link, as from /usr/local/bin.
mkdir -p "$tmp/links"
ln -s "$p/bin/velotapper-launch" "$tmp/links/velotapper-launch"
launcher=$tmp/links/velotapper-launch
launch "$tmp/home3"
check "launcher through a link finds the lessons" test -s "$tmp/home3/.local/share/velotapper/Lesson1.txt"

# A working folder that cannot be made: the launcher fails and starts nothing.
launcher=$p/bin/velotapper-launch
rm -f "$REPORT"
printf 'x' >"$tmp/file-home"
launch "$tmp/file-home" 2>/dev/null
check "unusable folder gives an error" test "$status" != 0
check "unusable folder starts nothing" test ! -e "$REPORT"

[ "$failures" -eq 0 ] || {
  echo "$failures failure(s)" >&2
  exit 1
}
