# A refinement step of seconds keeps the loop from its events, but not from the user: t
# tapped during a step counts once, after it, and Escape, SIGTERM and Ctrl-C's SIGINT end
# the run at once, in order and with status 0, the step left unfinished.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"
binary=$1

# Step 19 (15.7 million faces) takes over 4 s here, so over a second on a machine four times
# as fast; what this sends during it goes a few tenths of a second after the step began.
long_step=19
page_bytes=$(getconf PAGESIZE)

address_space_mib() {
  awk -v page="$page_bytes" '{ print int($1 * page / 1048576) }' "/proc/$APP_PID/statm"
}

# A step's first act is to reserve room for its records, 420 MiB at step 19 and twice that at
# step 20, which no frame comes near: the address space says when one has begun.
note_address_space() { space_before=$(address_space_mib); }
step_has_begun() { [ "$(address_space_mib)" -gt $((space_before + 200)) ]; }

begin_long_step() {
  note_address_space
  tap_key t
  poll_until 30 step_has_begun || fail "step $long_step did not begin within 30 s of t"
}

# A script's background job starts with SIGINT ignored; with job control it gets the
# terminal's default, as a program started from an interactive shell has it.
start_run() {
  set -m
  start_figure_run "$binary"
  set +m
  focus_window
  refine_to $((long_step - 1))
}

# The part of the bar along the window's bottom rows that shows what a step has done.
bar_done() {
  count_pixels "$1" 0 762 1024 6 'r >= 110 && r <= 120 && g >= 186 && g <= 196 && b >= 250'
}

# Two taps during the step make one step after it, and no second one. That step, twice as
# long, shows how far it is in the window: screenshots taken during it show the bar, grown
# from one to the next; the first after it none.
start_run
begin_long_step
tap_key t t
wait_for_line "$APP_OUT" "Face count: $(faces_after_step $long_step)" 120
after_step="Face count: $(faces_after_step $((long_step + 1)))"
bars=()
for ((shot = 0; ; shot++)); do
  take_screenshot "$E2E_TMP/step-$shot.png"
  has_count "$APP_OUT" "$after_step" 1 && break
  done_pixels=$(bar_done "$E2E_TMP/step-$shot.png")
  [ "$done_pixels" -eq 0 ] || bars+=("$done_pixels")
  sleep 0.3
done
wait_for_line "$APP_OUT" "$after_step" 120
sleep 0.5
take_screenshot "$E2E_TMP/after-step.png"
echo "the bar during step $((long_step + 1)), pixels done: ${bars[*]};" \
  "after it: $(bar_done "$E2E_TMP/after-step.png")"
[ "${#bars[@]}" -ge 2 ] && [ "${bars[0]}" != "${bars[-1]}" ] ||
  fail "the window did not show the step's progress changing (${#bars[@]} screenshots with the bar)"
[ "$(bar_done "$E2E_TMP/after-step.png")" -eq 0 ] || fail "the bar stayed after the step"
note_address_space
! poll_until 3 step_has_begun || fail "two taps of t during step $long_step made two steps after it"
[ "$(grep -c '^Face count: ' "$APP_OUT")" -eq $((long_step + 1)) ] || fail "more steps than taps"
stop_app
stop_private_xvfb

# Each way to quit during the step, with the milliseconds from the quit to the program's end.
for how in Escape TERM INT; do
  start_run
  begin_long_step
  clock_microseconds sent
  case $how in
    Escape) tap_key Escape ;;
    *) kill -s "$how" "$APP_PID" ;;
  esac
  poll_until 10 app_has_exited || fail "still running 10 s after $how during step $long_step"
  clock_microseconds ended
  wait_for_exit 1
  expect_clean_end "$how"
  [ "$(count_lines "$APP_OUT" "Face count: $(faces_after_step $long_step)")" -eq 0 ] ||
    fail "step $long_step ran to its end before $how took effect"
  echo "$how during step $long_step: the run ended $(((ended - sent) / 1000)) ms after it"
  stop_private_xvfb
done
pass
