#!/usr/bin/env bash
# Refinement A/B: builds refine_bench from a given commit and from the working tree
# (Release, in a temporary directory), runs the two interleaved, in alternating order,
# and prints per stage the median of each side and the ratio new/old.
#   bench/compare_refine.sh [COMMIT [PAIRS [STEPS]]]     defaults: c3346e1 5 18
# Only the last step's row counts. Run it on a quiet machine; it prints every run.
set -euo pipefail
commit=${1:-c3346e1}
pairs=${2:-5}
steps=${3:-18}
jobs=${JOBS:-2}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/compare-refine.XXXXXX")
trap 'rm -rf "$work"' EXIT

build() {
  local source=$1 binary=$2
  cmake -S "$source" -B "$work/build-$binary" -DCMAKE_BUILD_TYPE=Release \
    -DGEOSANDBOX_TESTS=OFF -DGEOSANDBOX_E2E=OFF >/dev/null
  cmake --build "$work/build-$binary" -j "$jobs" --target refine_bench >/dev/null
  cp "$work/build-$binary/bench/refine_bench" "$work/$binary"
}

echo "building $commit and the working tree"
mkdir -p "$work/old-source"
git -C "$repo" archive "$commit" | tar -x -C "$work/old-source"
build "$work/old-source" old
build "$repo" new

# csv: step,faces,split_ms,validate_ms,stats_ms,total_ms,ns_per_split,peak_rss_mb,bytes_per_face
# plus validate_ms + stats_ms, since a side may do part of the statistics in the check, and the
# threads the check ran on (a tenth column that older sides do not print: one).
run() {
  "$work/$1" --steps "$steps" --csv | tail -n 1 |
    awk -F, -v side="$1" '{ printf "%s", side; for (i = 1; i <= 9; ++i) printf ",%s", $i
      printf ",%.1f,%s\n", $4 + $5, (NF >= 10 ? $10 : 1) }' | tee -a "$work/rows"
}
: >"$work/rows"
for ((pair = 1; pair <= pairs; ++pair)); do
  if ((pair % 2)); then run old; run new; else run new; run old; fi
done

median() {  # side, column
  awk -F, -v side="$1" -v column="$2" '$1 == side { print $column }' "$work/rows" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo
printf "%-16s %12s %12s %8s\n" "step $steps" "$commit" "working" "new/old"
for stage in split_ms:4 validate_ms:5 stats_ms:6 validate+stats:11 total_ms:7 ns_per_split:8 \
  bytes_per_face:10 threads:12; do
  name=${stage%%:*}
  column=${stage##*:}
  old=$(median old "$column")
  new=$(median new "$column")
  printf "%-16s %12.1f %12.1f %8.3f\n" "$name" "$old" "$new" "$(awk -v a="$new" -v b="$old" 'BEGIN { print a / b }')"
done
