# Under an address-space limit, t refines until a step does not fit: the step is
# refused with one line and the program goes on. y after it splits or is refused the
# same way, never aborts; the camera still flies and Escape ends the run with status 0.
# 1.5 GiB leaves software GL its room and refuses a step between 17 and 20. A press
# that a slow frame missed is simply repeated.
source "$(dirname "$0")/lib.sh"
binary=$1
refused="Not enough memory for the next refinement step"

refusals() { count_lines "$APP_OUT" "$refused"; }
steps() { grep -c '^Face count: ' "$APP_OUT"; }
answered() { [ "$(steps)" -gt "$1" ] || [ "$(refusals)" -gt "$2" ]; }

# Presses t until the output shows a step or a refusal after the ones counted before.
press_t() {
  local steps_before refusals_before
  steps_before=$(steps)
  refusals_before=$(refusals)
  for _ in 1 2 3 4; do
    hold_key t 1.0
    poll_until 60 answered "$steps_before" "$refusals_before" && return 0
  done
  fail "four presses of t gave no answer"
}

start_xvfb
ulimit -S -v 1572864
start_app "$binary"
ulimit -S -v unlimited
wait_for_window 60
focus_window

presses=0
while [ "$(refusals)" -eq 0 ]; do
  [ "$presses" -lt 30 ] || fail "no step was refused in $presses steps"
  press_t
  presses=$((presses + 1))
done

lines_before=$(wc -l <"$APP_OUT")
hold_key y 1.0
# A split prints nothing: what must not happen (an abort) shows only as time passes.
let_frames_pass 1
app_has_exited && fail "the program ended after y"
new_lines=$(tail -n +"$((lines_before + 1))" "$APP_OUT")
[ -z "$new_lines" ] || [ "$new_lines" = "$refused" ] || fail "y printed: $new_lines"

refusals_before=$(refusals)
press_t
[ "$(refusals)" -gt "$refusals_before" ] || fail "the step after y was not refused"

# The last position printed while c is held, before and after some thrust.
position() {
  local printed
  printed=$(count_lines "$APP_OUT" "vector:")
  for _ in 1 2 3; do
    hold_key c 1.0
    [ "$(count_lines "$APP_OUT" "vector:")" -gt "$printed" ] && break
  done
  grep -A1 -x 'vector:' "$APP_OUT" | grep '^\[' | tail -n 1
}
before=$(position)
[ -n "$before" ] || fail "c printed no position"
hold_key a 1.0
after=$(position)
[ "$after" != "$before" ] || fail "the camera did not move: $before"

echo "refused after $(steps) steps; y printed ${new_lines:-nothing}"
stop_app
pass
