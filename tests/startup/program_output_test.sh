#!/usr/bin/env bash
# program_output_test.sh BINARY GOLDEN CXX CHECK: the program as built, with no display: its
# first 73 lines are the golden start-up text, character for character, then the no-display
# message, status 2 (the check the package build makes); and the two tables it printed,
# pasted ahead of CHECK, compile with CXX into a program that passes.
set -euo pipefail
binary=$1
golden=$2
compiler=$3
check=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-output.XXXXXX")
trap 'rm -rf "$work"' EXIT

sh "$(dirname "$0")/../../debian/check-start-output" "$binary" "$golden" "$work/stdout"
# Line 1 is the banner; the tables are the next 52 lines, exactly as printed.
{
  sed -n '2,53p' "$work/stdout"
  cat "$check"
} >"$work/tables.cpp"
"$compiler" -std=c++17 -Wall -Wextra -Werror -o "$work/tables" "$work/tables.cpp"
"$work/tables"
