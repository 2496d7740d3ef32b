# A resize from outside gives a smaller window that keeps running and taking keys;
# c prints the pose, and the arrow keys have turned it.
source "$(dirname "$0")/lib.sh"
binary=$1

start_figure_run "$binary"
xdotool windowsize "$WIN" 800 600 || fail "xdotool windowsize"
poll_until 20 eval '[ "$(window_size)" = "800x600" ]' ||
  fail "window is $(window_size), expected 800x600"
app_has_exited && fail "program ended after the resize"

focus_window
hold_key c 1.0
wait_for_line "$APP_OUT" "Quaternion:" 20
[ "$(grep -c '^vector:$' "$APP_OUT")" -ge 1 ] || fail "c printed no position"
grep -qFx "[1,	0,	0,	0]" "$APP_OUT" || fail "c did not print the identity orientation"

hold_key Left 1.0
turned() { [ "$(tail -n 1 "$APP_OUT")" != "[1,	0,	0,	0]" ] || { hold_key c 1.0; false; }; }
poll_until 10 turned ||
  fail "after Left the printed orientation is still the identity"

stop_app
pass
