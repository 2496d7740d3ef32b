# A private X server for running the program off screen, and waiting on a clock.
# Sourced by scripts/screenshot and by the end-to-end test helpers; needs bash 5.
#   poll_until SECONDS COMMAND...   runs COMMAND every 0.1 s until it succeeds (status 0)
#                                   or SECONDS (whole seconds) have passed; status 1 then
#   start_private_xvfb DIR          Xvfb on a free display, its log in DIR; exports DISPLAY
#                                   and sets XVFB_PID; on failure says why, status 1; its
#                                   screen is XVFB_SCREEN where set, else 1024x768x24
#   stop_private_xvfb               ends that Xvfb, if it runs

XVFB_PID=""

# Microseconds on bash's own clock: reading it starts no process.
clock_microseconds() { printf -v "$1" '%s' "${EPOCHREALTIME/[.,]/}"; }

# The deadline is on the clock, not a count of tries, so a COMMAND that itself takes
# a while cannot stretch the wait.
poll_until() {
  local timeout=$1 now deadline
  shift
  clock_microseconds now
  deadline=$((now + timeout * 1000000))
  while true; do
    if "$@"; then return 0; fi
    clock_microseconds now
    [ "$now" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

xvfb_answers() { xdpyinfo >/dev/null 2>&1; }

start_private_xvfb() {
  local dir=$1
  local display_file="$dir/display"
  : >"$display_file"
  # -displayfd picks a free display itself and writes its number once it listens.
  # -noreset: an X server resets when its last client leaves, and a client that
  # connects during the reset is refused; the readiness probe below is such a client.
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset \
    3>"$display_file" >"$dir/xvfb.log" 2>&1 &
  XVFB_PID=$!
  if ! poll_until 20 grep -q '[0-9]' "$display_file"; then
    echo "Xvfb did not report a display; its log:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  DISPLAY=":$(tr -dc '0-9' <"$display_file")"
  export DISPLAY
  if ! poll_until 20 xvfb_answers; then
    echo "Xvfb on $DISPLAY does not answer" >&2
    return 1
  fi
}

stop_private_xvfb() {
  if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
    kill -TERM "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  XVFB_PID=""
  return 0
}
