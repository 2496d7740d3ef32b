# Standard streams: output that cannot be written (a full device, a closed pipe) is said on
# standard error and ends the run with status 1 before the window opens; closed descriptors
# are opened on /dev/null,
# so the X connection never becomes standard output; the command line is answered.
source "$(dirname "$0")/lib.sh"
binary=$1
version=${GEOSANDBOX_VERSION:?the build sets it}

# arguments # expected status # standard output's first line # standard error's line
while IFS='#' read -r arguments expected first_out error; do
  # shellcheck disable=SC2086
  env -u DISPLAY "$binary" $arguments </dev/null >"$APP_OUT" 2>"$APP_ERR"
  status=$?
  [ "$status" -eq "$expected" ] || fail "'$arguments': exit status $status, expected $expected"
  first=$(head -n 1 "$APP_OUT")
  [ "$first" = "$first_out" ] || fail "'$arguments': first line $first"
  [ -z "$error" ] && [ -s "$APP_ERR" ] && fail "'$arguments': wrote to standard error"
  [ -z "$error" ] || grep -qF -- "$error" "$APP_ERR" ||
    fail "'$arguments': no \"$error\" on standard error"
done <<TABLE
--help#0#Usage: geosandbox [--help | --version]#
--version#0#geosandbox $version#
-x#64##geosandbox: unknown argument '-x' (try 'geosandbox --help')
--help extra#64##geosandbox: unknown argument 'extra'
tables.txt#64##unknown argument 'tables.txt'
TABLE
env -u DISPLAY "$binary" --help | grep -q '^  Escape' || fail "--help does not list the keys"

# Lost output ends the run before any window, on a display too.
"$binary" --help >/dev/full 2>"$APP_ERR"
[ $? -eq 1 ] || fail "--help on a full output did not end with status 1"
# A reader gone before the first line: the write fails, the program says so and ends
# with its own status instead of dying of SIGPIPE without a word.
{ sleep 1; "$binary" --help 2>"$APP_ERR"; } | true
status=${PIPESTATUS[0]}
[ "$status" -eq 1 ] || fail "--help into a closed pipe: exit status $status, expected 1"
grep -qF 'standard output cannot be written' "$APP_ERR" || fail "closed pipe: nothing said"
start_xvfb
"$binary" </dev/null >/dev/full 2>"$APP_ERR" &
APP_PID=$!
wait_for_exit 30
[ "$APP_STATUS" -eq 1 ] || fail "output on /dev/full: exit status $APP_STATUS, expected 1"
grep -qF 'standard output cannot be written' "$APP_ERR" || fail "output on /dev/full: nothing said"
[ -z "$(xdotool search --name '^SDL window$' 2>/dev/null)" ] ||
  fail "a window opened with its output lost"

# All three descriptors closed: the run is as usual, its output on /dev/null, where no end
# can be read; SIGTERM ends it with status 0 as a quit.
"$binary" <&- >&- 2>&- &
APP_PID=$!
wait_for_window 60
for descriptor in 0 1 2; do
  target=$(readlink "/proc/$APP_PID/fd/$descriptor")
  [ "$target" = /dev/null ] || fail "descriptor $descriptor is $target, expected /dev/null"
done
kill -TERM "$APP_PID"
wait_for_exit 20
[ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS after SIGTERM, expected 0"
pass
