#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the prefix, and starts the installed
# program headless with the user's folders in a temporary home. It must find its data under
# the prefix, write cf.ini and its tools folder into the user's folders, leave the prefix as
# installed and exit cleanly.
set -euo pipefail

build=$1
cmake=${2:-cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$work/installed" >/dev/null
prefix=$work/moved/prefix
mkdir -p "$work/moved"
mv "$work/installed" "$prefix"

id=example.velmora.Velmora
for file in bin/velmora share/velmora/info/intro.hlp share/velmora/info/LNGPAK_Rus.lng \
  share/velmora/TTDIR/def_templ.asm share/velmora/contee.com share/applications/$id.desktop \
  share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
snapshot >"$work/before"

home=$work/home
mkdir -p "$home"
status=0
output=$(cd "$work" && env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/config" \
  XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/runtime" \
  QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/velmora" --check-start 2>"$work/stderr") || status=$?
echo "$output"
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr")"

expect_line() {
  grep -qxF -- "$1" <<<"$output" || fail "missing line: $1"
}
expect_line "settings file: $home/config/velmora/cf.ini (read at start, written at exit)"
expect_line "language pack: $prefix/share/velmora/info/LNGPAK_Rus.lng (loaded)"
expect_line "tools folder: $home/data/velmora/TTDIR (present)"
# The default pack is the Russian one, which names its own help file.
grep -qE -- "^help file: $prefix/share/velmora/info/intro_rus.hlp \([1-9][0-9]* topics\)$" <<<"$output" ||
  fail "the help file was not read"

grep -q '^LNGFile=LNGPAK_Rus.lng' "$home/config/velmora/cf.ini" || fail "cf.ini was not written at exit"
cmp -s "$prefix/share/velmora/TTDIR/def_templ.asm" "$home/data/velmora/TTDIR/def_templ.asm" ||
  fail "the tools folder did not get the template"
snapshot | diff "$work/before" - || fail "the program changed the prefix"
