#!/usr/bin/env bash
# installed_program_test.sh CMAKE BUILD GOLDEN: installs BUILD into a staging directory
# under a prefix, as a packager does, and runs the installed program without a display:
# the 73 golden start-up lines, the video-mode message, exit status 2. The README and
# the picture it shows are installed beside each other.
set -euo pipefail
source "$(dirname "$0")/run_without_display.sh"
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

run_without_display "$root/bin/geosandbox" "$work/stdout"
if [ "$RUN_STATUS" -ne 2 ]; then
  echo "FAIL: the installed program exited with $RUN_STATUS, expected 2" >&2
  exit 1
fi
head -n 73 "$work/stdout" >"$work/start"
diff -u "$golden" "$work/start" || { echo "FAIL: the start-up output differs from the golden text" >&2; exit 1; }
if [ "$(tail -n +74 "$work/stdout")" != "Can't set video mode! Exiting." ]; then
  echo "FAIL: after the 73 start-up lines it did not end with the video-mode message:" >&2
  tail -n +74 "$work/stdout" >&2
  exit 1
fi
echo "PASS: the installed program prints its 73 start-up lines and exits with status 2"
