# A crash under an address-space limit is said in the program's own words: one line naming
# the signal and the limit, then the signal's own status, and SDL's crash handler (which
# crashed in turn) never runs. Under some small limits Mesa's software renderer faults in
# the first buffer swap, but which limits do changes from run to run (docs/desktop-sessions.md
# has the table); here the program runs under a limit where it opens its window, and the
# fault comes from outside, certain.
source "$(dirname "$0")/lib.sh"
binary=$1
megabytes=1024

start_xvfb
ulimit -S -v $((megabytes * 1024))
start_app "$binary"
ulimit -S -v unlimited
wait_for_figure
kill -SEGV "$APP_PID"
wait_for_exit 20

report="geosandbox: crashed with a segmentation fault (SIGSEGV) under an address-space limit"
report+=" of $megabytes MiB (ulimit -v $((megabytes * 1024)))"
[ "$APP_STATUS" -eq 139 ] || fail "status $APP_STATUS after SIGSEGV, expected 139"
[ "$(count_lines "$APP_ERR" "$report")" -eq 1 ] || fail "not the one line: $report"
! grep -q "SDL Parachute" "$APP_ERR" || fail "SDL's crash handler ran"
pass
