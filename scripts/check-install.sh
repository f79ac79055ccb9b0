#!/usr/bin/env bash
# Checks the install and the Debian package of a built tree (./test runs it after the tests):
#   cmake --install into a temporary DESTDIR; the installed program's --version and --export of an
#   example, with a fresh per-user configuration made from the installed default and nothing written
#   beside the program; desktop-file-validate, appstreamcli validate --no-net, man -l; then
#   cpack -G DEB and the package's control fields and file list.
# usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR}")
source_dir=$(realpath "$(dirname "$0")/..")
id=org.varnex.Varnex
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

echo "-- cmake --install into a temporary DESTDIR"
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
root="$work/root/usr"
for f in bin/varnexw32 share/varnex/varnexw32.ini share/varnex/varnexw32.html \
         share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
         share/metainfo/$id.metainfo.xml share/man/man1/varnexw32.1; do
  [ -f "$root/$f" ] || fail "missing $f"
done
if grep -rqF "$build" "$root"; then fail "an installed file names the build folder $build"; fi

echo "-- the installed program"
export XDG_CONFIG_HOME="$work/config"
"$root/bin/varnexw32" --version | grep -q "^VarnexWin32" || fail "--version"
cp "$source_dir/examples/loglog.dat" "$work/loglog.dat"
"$root/bin/varnexw32" --export "$work/loglog.png" --size 200 "$work/loglog.dat" 2>"$work/stderr" \
  || { cat "$work/stderr"; fail "--export"; }
file "$work/loglog.png" | grep -q "PNG image data, 200 x 200" || fail "the exported PNG: $(file "$work/loglog.png")"
[ -f "$XDG_CONFIG_HOME/varnex/varnexw32.ini" ] || fail "no per-user configuration was created"
grep -q "created the configuration file" "$work/stderr" || fail "no note of the new configuration"
cmp -s "$XDG_CONFIG_HOME/varnex/varnexw32.ini" "$root/share/varnex/varnexw32.ini" || fail "per-user copy differs"
[ ! -e "$root/bin/varnexw32.ini" ] || fail "the program wrote beside itself"
"$root/bin/varnexw32" --info "$work/loglog.dat" >/dev/null 2>"$work/stderr2" || fail "--info"
[ ! -s "$work/stderr2" ] || fail "a second run notes again: $(cat "$work/stderr2")"

echo "-- desktop entry, AppStream metadata, man page"
desktop-file-validate "$root/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$root/share/metainfo/$id.metainfo.xml" >/dev/null \
  || appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml"
man --warnings -l "$root/share/man/man1/varnexw32.1" 2>"$work/man-warnings" | grep -q -- "--export" || fail "man page"
[ ! -s "$work/man-warnings" ] || { cat "$work/man-warnings"; fail "man page warnings"; }

echo "-- cpack -G DEB"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/varnex_*.deb)
control=$(dpkg-deb --field "$deb")
echo "$control" | grep -q "^Package: varnex$" || fail "Package field"
echo "$control" | grep -q "^Version: " || fail "Version field"
echo "$control" | grep -q "^Description: draw x/y graphs" || fail "Description field"
echo "$control" | grep -q "^Depends: .*libqt6widgets6" || fail "Depends lacks the Qt libraries: $(echo "$control" | grep Depends)"
echo "$control" | grep -q "^Depends: .*libc6" || fail "Depends lacks libc6"
files=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for f in ./usr/bin/varnexw32 ./usr/share/varnex/varnexw32.ini ./usr/share/varnex/varnexw32.html \
         ./usr/share/applications/$id.desktop ./usr/share/icons/hicolor/scalable/apps/$id.svg \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/man/man1/varnexw32.1; do
  echo "$files" | grep -qx -- "$f" || fail "the package lacks $f"
done
if echo "$files" | grep -q "test\|bench"; then fail "the package holds test or bench files"; fi
echo "install and package: OK ($(basename "$deb"))"
