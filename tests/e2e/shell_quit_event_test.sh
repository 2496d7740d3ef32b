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
expect_clean_end "the window was closed"
pass
