#!/usr/bin/env bash
# program_output_test.sh BINARY GOLDEN: the first 73 lines of the program's standard
# output are the golden start-up text, character for character. What follows them
# depends on whether a window can open and is not checked here.
set -euo pipefail
source "$(dirname "$0")/run_without_display.sh"
binary=$1
golden=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT

run_without_display "$binary" "$work/stdout"
head -n 73 "$work/stdout" >"$work/start"
if ! diff -u "$golden" "$work/start"; then
  echo "FAIL: the start-up output differs from the golden text" >&2
  exit 1
fi
echo "PASS: 73 start-up lines as expected"
