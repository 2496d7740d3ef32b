# The window opens full-screen at 1024x768 with its caption, and holding Escape ends the run
# in order with status 0. Where OpenGL cannot start (here Mesa's driver cannot be found) the
# run ends as when no window can be had, with status 2 and a line saying what to check,
# not with Xlib's error and its status.
source "$(dirname "$0")/lib.sh"
binary=$1

start_xvfb
start_app "$binary"
wait_for_window 60
size=$(window_size)
[ "$size" = "1024x768" ] || fail "window is $size, expected 1024x768"
[ "$(head -n 1 "$APP_OUT")" = "start!" ] || fail "output does not begin with start!"
stop_app

mkdir "$E2E_TMP/no-drivers"
LIBGL_DRIVERS_PATH=$E2E_TMP/no-drivers "$binary" </dev/null >"$APP_OUT" 2>"$APP_ERR"
status=$?
[ "$status" -eq 2 ] || fail "exit status $status without an OpenGL driver, expected 2"
[ "$(tail -n 1 "$APP_OUT")" = "Can't set video mode! Exiting." ] ||
  fail "without an OpenGL driver the output does not end with the video mode's message"
grep -q '^geosandbox: OpenGL could not start: check ' "$APP_ERR" ||
  fail "without an OpenGL driver standard error does not say what to check"
! grep -q 'X Error of failed request' "$APP_ERR" || fail "Xlib's error handler ended the run"
pass
