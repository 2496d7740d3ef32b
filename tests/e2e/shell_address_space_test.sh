# Under the small address-space limits where Mesa's software renderer fails an allocation
# at the first buffer swap and faults, the program either opens its window or ends with
# its own line naming the signal and the limit, with the status of that signal: never a
# bare signal with nothing said, and never with SDL's crash handler, which crashes itself.
# Which limits fault varies with the machine and the run, so every one is allowed either
# way; where a limit is too small for the GL driver to load at all, its loader and Xlib
# end the process with status 1 and their own messages, and that is allowed too.
source "$(dirname "$0")/lib.sh"
binary=$1

started_or_ended() {
  app_has_exited && return 0
  find_window && has_count "$APP_OUT" "created texture" 1
}

start_xvfb
summary=""
for megabytes in 250 300 350 450 550 600; do
  ulimit -S -v $((megabytes * 1024))
  start_app "$binary"
  ulimit -S -v unlimited
  poll_until 60 started_or_ended || fail "at $megabytes MB: neither a window nor an end in 60 s"
  if app_has_exited; then
    wait_for_exit 1
    report="geosandbox: crashed with a segmentation fault (SIGSEGV) under an address-space limit of $megabytes MiB (ulimit -v $((megabytes * 1024)))"
    if [ "$APP_STATUS" -le 128 ]; then
      [ "$APP_STATUS" -ne 0 ] && [ -s "$APP_ERR" ] || fail "at $megabytes MB: status $APP_STATUS before a window, nothing said"
      summary+=" ${megabytes} MB: status $APP_STATUS;"
      continue
    fi
    grep -qF "geosandbox: crashed with " "$APP_ERR" || fail "at $megabytes MB: a bare signal, status $APP_STATUS"
    grep -qF "limit of $megabytes MiB" "$APP_ERR" || fail "at $megabytes MB: the report names no limit"
    grep -q "SDL Parachute" "$APP_ERR" && fail "at $megabytes MB: SDL's crash handler ran"
    [ "$APP_STATUS" -ne 139 ] || grep -qxF "$report" "$APP_ERR" || fail "at $megabytes MB: not the report expected"
    summary+=" ${megabytes} MB: status $APP_STATUS with the report;"
  else
    kill -TERM "$APP_PID"
    wait_for_exit 20
    summary+=" ${megabytes} MB: window;"
  fi
done
echo "address-space limits:$summary"
pass
