# The window opens full-screen at 1024x768 with its caption, and holding Escape
# ends the run in order with status 0.
source "$(dirname "$0")/lib.sh"
binary=$1

start_xvfb
start_app "$binary"
wait_for_window 60
size=$(window_size)
[ "$size" = "1024x768" ] || fail "window is $size, expected 1024x768"
[ "$(head -n 1 "$APP_OUT")" = "start!" ] || fail "output does not begin with start!"

stop_app
pass
