# What CI's stage scripts share; each sources it (bash).
#   unusable REASON...   the stage cannot run here (no root, no mirror, no QEMU): it says
#                        why, then under CI=true fails (status 1), since CI must run every
#                        stage, and elsewhere says it skipped (status 0). The script ends.
#   ci_summary LOG       CI's closing line from its log: how many stages ran and skipped
#                        (headings "== ... (at N s)", and "NAME: skipped"), and how many tests ran,
#                        summed over ctest's "N% tests passed, F tests failed out of T".

unusable() {
  local name=${0##*/}
  echo "$name: $*"
  [[ "${CI:-}" == true ]] && exit 1
  echo "$name: skipped"
  exit 0
}

ci_summary() {
  local log=$1 stages skipped tests failed
  # A stage's heading ends with its start time; deb-check's own "== " lines do not.
  stages=$(grep -cE '^== .* \(at [0-9]+ s\)$' "$log" || true)
  skipped=$(grep -cE '^[A-Za-z0-9._-]+: skipped$' "$log" || true)
  read -r tests failed < <(awk '/tests passed, [0-9]+ tests failed out of [0-9]+/ {
    failed += $4; tests += $NF } END { print tests + 0, failed + 0 }' "$log")
  echo "ci: $((stages - skipped)) stages ran, $skipped skipped; $tests tests ran:" \
    "$((tests - failed)) passed, $failed failed"
}
