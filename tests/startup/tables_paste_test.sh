#!/usr/bin/env bash
# tables_paste_test.sh BINARY CXX CHECK: pastes the two tables the program prints into a
# C++ file ahead of CHECK, compiles it with CXX and runs it.
set -euo pipefail
binary=$1
compiler=$2
check=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-paste.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The output of the one no-display check, which also makes sure the tables are the golden ones.
sh "$(dirname "$0")/../../debian/check-start-output" "$binary" \
  "$(dirname "$0")/start_output_golden.txt" "$work/stdout" >/dev/null
# Line 1 is the banner; the tables are the next 52 lines, exactly as printed.
{
  sed -n '2,53p' "$work/stdout"
  cat "$check"
} >"$work/tables.cpp"
"$compiler" -std=c++17 -Wall -Wextra -Werror -o "$work/tables" "$work/tables.cpp"
"$work/tables"
