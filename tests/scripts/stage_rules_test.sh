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

name=$(bash "$scripts/package-file")
[[ "$name" =~ ^geosandbox_[0-9][^_]*_[a-z0-9]+\.deb$ ]] || fail "package file named '$name'"
if command -v dpkg-parsechangelog >/dev/null; then
  version=$(cd "$scripts/.." && dpkg-parsechangelog -S Version)
  [[ "$name" == "geosandbox_${version#*:}_"* ]] || fail "'$name' is not of version $version"
fi
echo "PASS: the skip rule under CI and elsewhere, and the package file's name"
