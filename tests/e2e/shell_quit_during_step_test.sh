# A refinement step of seconds keeps the loop from its events, but not from the user: t
# tapped during a step counts once, after it, and Escape, SIGTERM and Ctrl-C's SIGINT end
# the run at once, in order and with status 0, the step left unfinished.
source "$(dirname "$0")/lib.sh"
binary=$1

# Step 20 takes seconds (31 million faces); the quit comes well before its end.
long_step=20

# Milliseconds from the quit to the program's end; fails on a late or unclean end.
quit_during_long_step() {
  local how=$1 sent ended
  tap_key t
  sleep 0.7
  clock_microseconds sent
  case $how in
    Escape) tap_key Escape ;;
    *) kill -s "$how" "$APP_PID" ;;
  esac
  poll_until 10 app_has_exited || fail "still running 10 s after $how during step $long_step"
  clock_microseconds ended
  wait_for_exit 1
  [ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS after $how, expected 0"
  [ "$(count_lines "$APP_OUT" "Face count: $(faces_after_step $long_step)")" -eq 0 ] ||
    fail "step $long_step ran to its end before $how took effect"
  [ "$(tail -n 2 "$APP_OUT" | tr '\n' '|')" = "sdl_quit|sdl_quit done|" ] ||
    fail "output after $how does not end with sdl_quit, sdl_quit done"
  echo "$how during step $long_step: the run ended $(((ended - sent) / 1000)) ms after it"
}

for how in Escape TERM INT; do
  # A script's background job starts with SIGINT ignored; with job control it gets the
  # terminal's default, as a program started from an interactive shell has it.
  set -m
  start_figure_run "$binary"
  set +m
  focus_window
  if [ "$how" = Escape ]; then
    # Two taps during step 18 make one step 19 after it, and no step 20.
    refine_to 17
    tap_key t
    sleep 0.2
    tap_key t t
    wait_for_line "$APP_OUT" "Face count: $(faces_after_step 19)" 120
    let_frames_pass 6
    [ "$(grep -c '^Face count: ' "$APP_OUT")" -eq 19 ] ||
      fail "taps of t during a step made more than one step after it"
  fi
  refine_to $((long_step - 1))
  quit_during_long_step "$how"
  stop_private_xvfb
done
pass
