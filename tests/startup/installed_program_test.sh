#!/usr/bin/env bash
# installed_program_test.sh CMAKE BUILD GOLDEN: installs BUILD into a staging directory
# under a prefix, as a packager does, and runs the installed program without a display:
# the 73 golden start-up lines, the video-mode message, exit status 2. The README and
# the picture it shows are installed beside each other.
set -euo pipefail
cmake=$1
build=$2
golden=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/geosandbox >"$work/install.log"
root=$work/stage/opt/geosandbox
for file in bin/geosandbox share/man/man6/geosandbox.6 share/doc/geosandbox/README.md \
  share/doc/geosandbox/docs/screenshot.png; do
  [ -f "$root/$file" ] || { echo "FAIL: $file not installed" >&2; cat "$work/install.log" >&2; exit 1; }
done

# The same check the package build makes of the program it built.
sh "$(dirname "$0")/../../debian/check-start-output" "$root/bin/geosandbox" "$golden" ||
  { echo "FAIL: the installed program's output or exit status" >&2; exit 1; }
echo "PASS: the installed program prints its 73 start-up lines and exits with status 2"
