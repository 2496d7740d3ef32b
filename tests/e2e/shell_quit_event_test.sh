# Closing the window delivers a quit event: the run ends like after Escape.
source "$(dirname "$0")/lib.sh"
binary=$1

start_xvfb
start_app "$binary"
wait_for_window 60
# The texture is made in the first frame: the main loop runs and takes events.
wait_for_line "$APP_OUT" "created texture" 60
close_window
wait_for_exit 20
[ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS after the window was closed, expected 0"
[ "$(tail -n 2 "$APP_OUT" | tr '\n' '|')" = "sdl_quit|sdl_quit done|" ] ||
  fail "output does not end with sdl_quit, sdl_quit done"
pass
