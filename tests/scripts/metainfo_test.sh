#!/usr/bin/env bash
# metainfo_test.sh CMAKE METAINFO_SCRIPT TEMPLATE: the metainfo's release, of the version the
# build gives, is made from the top entry of a changelog alone, with its day in ISO form and
# its items as escaped XML text; a changelog without a dated top entry stops the build.
set -euo pipefail
cmake=$1
script=$2
template=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-metainfo.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
make_metainfo() {
  "$cmake" -DVERSION=2.1.0 -DCHANGELOG="$1" -DSOURCE="$template" -DOUTPUT="$work/out.xml" \
    -P "$script"
}

cat >"$work/changelog" <<'CHANGELOG'
geosandbox (2.1.0) unstable; urgency=medium

  * Keys & mouse; <all> of them
    on two lines.
  * Second item.

 -- A Developer <a@example.invalid>  Mon, 1 Mar 2027 10:00:00 +0100

geosandbox (2.0.0) unstable; urgency=medium

  * Older item.

 -- A Developer <a@example.invalid>  Tue, 08 Dec 2026 23:00:00 +0000
CHANGELOG
make_metainfo "$work/changelog" >/dev/null
# expected line in the output, for each thing the release must hold
while IFS= read -r expected; do
  grep -qxF "$expected" <(sed 's/^ *//' "$work/out.xml") ||
    fail "no line '$expected' in the release"
done <<'EXPECTED'
<release version="2.1.0" date="2027-03-01">
<li>Keys &amp; mouse; &lt;all&gt; of them on two lines.</li>
<li>Second item.</li>
EXPECTED
! grep -q -e 'Older item' -e '2\.0\.0' "$work/out.xml" || fail "an older entry is in the release"
[[ $(grep -c '<release ' "$work/out.xml") -eq 1 ]] || fail "not one release"

# The top entry without its trailer line: no date to give, so no metainfo.
printf 'geosandbox (3.0.0) unstable; urgency=medium\n\n  * Item.\n' >"$work/undated"
if make_metainfo "$work/undated" >/dev/null 2>&1; then
  fail "an undated changelog made a metainfo"
fi
echo "PASS: the release is the changelog's top entry, dated and escaped"
