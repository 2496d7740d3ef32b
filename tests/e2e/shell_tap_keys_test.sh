# Taps as people make them, press and release within a frame, act like held keys: every
# tap of t refines once, also two taps that land in one frame, and one tap of Escape quits.
source "$(dirname "$0")/lib.sh"
binary=$1

start_figure_run "$binary"
focus_window

for _ in 1 2 3; do
  tap_key t
  sleep 0.4
done
# Two taps in one frame; not closer than people tap, where SDL would take them for the
# key's own repetition.
xdotool key --delay 30 t t
wait_for_line "$APP_OUT" "Face count: $(faces_after_step 5)" 30
let_frames_pass 0.5
steps=$(grep -c '^Face count: ' "$APP_OUT")
[ "$steps" -eq 5 ] || fail "five taps of t made $steps refinement steps"

tap_key Escape
wait_for_exit 10
expect_clean_end "a tap of Escape"
pass
