#!/usr/bin/env bash
# installed_program_test.sh CMAKE BUILD GOLDEN VERSION: installs BUILD into a staging directory
# under a prefix, as a packager does, and runs the installed program without a display:
# the 73 golden start-up lines, the video-mode message, exit status 2. The README and
# the picture it shows are installed beside each other; the menu entry starts the program
# under this prefix through the launcher, which names F1 before the program's own output, and
# the metainfo names the build's VERSION. Every
# page the README links is installed beside it.
set -euo pipefail
cmake=$1
build=$2
golden=$3
version=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/geosandbox >"$work/install.log"
root=$work/stage/opt/geosandbox
for file in bin/geosandbox share/man/man6/geosandbox.6 share/doc/geosandbox/README.md \
  share/doc/geosandbox/docs/screenshot.png share/applications/geosandbox.desktop \
  share/metainfo/invalid.geosandbox.geosandbox.metainfo.xml \
  share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/geosandbox.png; do
  [ -f "$root/$file" ] ||
    { echo "FAIL: $file not installed" >&2; cat "$work/install.log" >&2; exit 1; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }
for page in $(grep -o 'docs/[a-z0-9-]*\.md' "$(dirname "$0")/../../README.md" | sort -u); do
  [ -f "$root/share/doc/geosandbox/$page" ] || fail "the README links $page, which is not installed"
done
launcher=/opt/geosandbox/libexec/geosandbox/run-in-terminal
grep -qx "Exec=$launcher" "$root/share/applications/geosandbox.desktop" ||
  fail "the menu entry does not run $launcher"
[ -x "$work/stage$launcher" ] || fail "$launcher is not installed as a program"
grep -qF '"/opt/geosandbox/bin/geosandbox"' "$work/stage$launcher" ||
  fail "the launcher does not start the installed program"
# The launcher names F1 on a line of its own, and the program's output follows it unchanged.
sed "s|\"/opt/geosandbox/bin/geosandbox\"|\"$root/bin/geosandbox\"|" "$work/stage$launcher" \
  >"$work/launcher"
env -u DISPLAY sh "$work/launcher" </dev/null >"$work/launched" 2>/dev/null || true
env -u DISPLAY "$root/bin/geosandbox" </dev/null >"$work/direct" 2>/dev/null || true
head -n 1 "$work/launched" | grep -q "F1 shows the keys" || fail "the launcher does not name F1 first"
tail -n +2 "$work/launched" | head -n "$(wc -l <"$work/direct")" | cmp -s - "$work/direct" ||
  fail "the program's output through the launcher differs"
grep -q "<release version=\"$version\"" "$root/share/metainfo/"*.metainfo.xml ||
  fail "the metainfo has no release $version"

# The same check the package build makes of the program it built.
sh "$(dirname "$0")/../../debian/check-start-output" "$root/bin/geosandbox" "$golden" ||
  { echo "FAIL: the installed program's output or exit status" >&2; exit 1; }
echo "PASS: the installed program prints its 73 start-up lines and exits with status 2"
