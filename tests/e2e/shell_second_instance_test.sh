# A second full-screen instance on a display without a window manager may wait for the
# keyboard the first one holds: it says so on standard error, and SIGTERM still ends it.
source "$(dirname "$0")/lib.sh"
binary=$1

start_figure_run "$binary"
second_out=$E2E_TMP/second-stdout
second_err=$E2E_TMP/second-stderr
"$binary" </dev/null >"$second_out" 2>"$second_err" &
second=$!

windows() { xdotool search --name '^SDL window$' 2>/dev/null | wc -l; }
second_is_open_or_waiting() {
  [ "$(windows)" -ge 2 ] || grep -q 'the window is still not open' "$second_err"
}
poll_until 30 second_is_open_or_waiting ||
  { kill -KILL "$second"; fail "the second instance neither opened a window nor said why not"; }

kill -TERM "$second"
second_has_exited() { ! kill -0 "$second" 2>/dev/null; }
poll_until 5 second_has_exited ||
  { kill -KILL "$second"; fail "the second instance still runs 5 s after SIGTERM"; }
wait "$second"
status=$?
# Ended while opening: by the signal itself (128 + 15); with its window open: a normal quit.
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "second instance: exit status $status"
echo "second instance: exit status $status; its standard error:"
cat "$second_err"

stop_app
pass
