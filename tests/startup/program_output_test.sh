#!/usr/bin/env bash
# program_output_test.sh BINARY GOLDEN: the program as built, with no display: its first 73
# lines are the golden start-up text, character for character, then the no-display
# message, status 2; the same check the package build makes.
set -euo pipefail
sh "$(dirname "$0")/../../debian/check-start-output" "$1" "$2"
