#!/usr/bin/env bash
# stage_rules_test.sh SCRIPTS: what CI's stage scripts share. A stage that cannot run says
# why and ends: under CI=true it fails, elsewhere it skips; and the package file's name is
# the one dpkg-buildpackage writes.
set -euo pipefail
scripts=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-stage.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  cat "$work/out" >&2 2>/dev/null || true
  exit 1
}

# A stage that cannot run says why and goes no further; only under CI=true is that a failure.
printf 'source "%s/stage.sh"\nunusable "no mirror"\necho "went on"\n' "$scripts" >"$work/some-check"
for ci_and_status in true:1 :0 false:0; do
  ci=${ci_and_status%:*}
  status=0
  CI=$ci bash "$work/some-check" >"$work/out" 2>&1 || status=$?
  [[ "$status" -eq "${ci_and_status#*:}" ]] || fail "CI='$ci': status $status"
  grep -q "no mirror" "$work/out" || fail "CI='$ci': the reason is not said"
  ! grep -q "went on" "$work/out" || fail "CI='$ci': the stage went on"
done

# Where the read-only namespace cannot be made, the command runs all the same and the run says
# so: its own status, and under CI=true a failure even where it passed.
mkdir -p "$work/stub"
printf '#!/bin/sh\necho "unshare: not allowed"\nexit 1\n' >"$work/stub/unshare"
chmod +x "$work/stub/unshare"
for case in ":true:0" "true:true:1" ":false:1" "true:false:1"; do
  IFS=: read -r ci command expected <<<"$case"
  status=0
  # Inside CI's own read-only namespace the inner run must not take itself for its second half.
  env -u GEOSANDBOX_READONLY_INSIDE CI="$ci" PATH="$work/stub:$PATH" \
    bash "$scripts/readonly-run" "$work/build" bash -c "echo suite ran; $command" >"$work/out" 2>&1 || status=$?
  [[ "$status" -eq "$expected" ]] || fail "readonly-run, CI='$ci', $command: status $status"
  grep -qx "suite ran" "$work/out" || fail "readonly-run, CI='$ci': the command did not run"
  grep -q "without the read-only proof" "$work/out" || fail "readonly-run: the missing proof unsaid"
done

# CI's closing line counts the stages by their headings and skips, and sums ctest's counts.
cat >"$work/log" <<'LOG'
== layout (at 0 s)
== make test-all (at 15 s)
100% tests passed, 0 tests failed out of 40
== Debian 13 (at 300 s)
== lintian
debian13-check: no mirror
debian13-check: skipped
== sanitizers (at 400 s)
97% tests passed, 2 tests failed out of 61
LOG
summary=$(source "$scripts/stage.sh" && ci_summary "$work/log")
[[ "$summary" == "ci: 3 stages ran, 1 skipped; 101 tests ran: 99 passed, 2 failed" ]] ||
  fail "CI's closing line: $summary"

name=$(bash "$scripts/package-file")
[[ "$name" =~ ^geosandbox_[0-9][^_]*_[a-z0-9]+\.deb$ ]] || fail "package file named '$name'"
if command -v dpkg-parsechangelog >/dev/null; then
  version=$(cd "$scripts/.." && dpkg-parsechangelog -S Version)
  [[ "$name" == "geosandbox_${version#*:}_"* ]] || fail "'$name' is not of version $version"
fi
echo "PASS: the skip rule under CI and elsewhere, the suite without the read-only proof, CI's" \
  "closing line, and the package file's name"
