# Frames of software GL may take longer than a short tap, so keys are held for
# about a second. t refines once per press however long it is held; y splits an edge silently and
# leaves t working.
source "$(dirname "$0")/lib.sh"
binary=$1

# The window shows before the loop reads keys (on sdl12-compat well before): a press
# then is lost, so keys wait for the first frame's texture.
start_figure_run "$binary"
focus_window

hold_key t 1.0
wait_for_line "$APP_OUT" "Face count: 60" 30

hold_key t 3.0
wait_for_line "$APP_OUT" "Face count: 120" 30
# A second step would print within a frame or two of the first.
let_frames_pass 0.5
[ "$(grep -c '^Face count: ' "$APP_OUT")" -eq 2 ] || fail "holding t refined more than once"

hold_key t 1.0
wait_for_line "$APP_OUT" "Face count: 240" 30

# y splits one edge without a word; the next t still refines (two more faces now).
lines_before=$(wc -l <"$APP_OUT")
hold_key y 1.0
let_frames_pass 0.5
[ "$(wc -l <"$APP_OUT")" -eq "$lines_before" ] || fail "y printed something"

hold_key t 1.0
poll_until 30 eval '[ "$(grep -c "^Face count: " "$APP_OUT")" -ge 4 ]' ||
  fail "t after y printed no face count"

stop_app
pass
