# The window opens full-screen at 1024x768 with its caption and a TrueColor visual (with
# DirectColor mutter --x11 paints its frame black), and holding Escape ends the run
# in order with status 0. Where OpenGL cannot start (here indirect GLX asked of an X server
# that offers none, which refuses the context on Debian 12 and 13 alike) the run ends as when
# no window can be had, with status 2 and a line saying what to check, not with Xlib's error
# and its status.
source "$(dirname "$0")/lib.sh"
binary=$1

start_xvfb
start_app "$binary"
wait_for_window 60
size=$(window_size)
[ "$size" = "1024x768" ] || fail "window is $size, expected 1024x768"
visual=$(xwininfo -id "$WIN" | sed -n 's/^ *Visual Class: //p')
[ "$visual" = TrueColor ] || fail "the window's visual is $visual, expected TrueColor"
[ "$(head -n 1 "$APP_OUT")" = "start!" ] || fail "output does not begin with start!"
stop_app

LIBGL_ALWAYS_INDIRECT=1 timeout 60 "$binary" </dev/null >"$APP_OUT" 2>"$APP_ERR"
status=$?
[ "$status" -eq 2 ] || fail "exit status $status without OpenGL, expected 2"
[ "$(tail -n 1 "$APP_OUT")" = "Can't set video mode! Exiting." ] ||
  fail "without OpenGL the output does not end with the video mode's message"
grep -q '^geosandbox: OpenGL could not start: check ' "$APP_ERR" ||
  fail "without OpenGL standard error does not say what to check"
! grep -q 'X Error of failed request' "$APP_ERR" || fail "Xlib's error handler ended the run"
pass
