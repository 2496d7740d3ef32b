# Closing the window delivers a quit event: the run ends like after Escape, also while the
# window is hidden, when the program draws nothing and waits. An X server that goes away
# ends the run with its own status and line, not Xlib's.
source "$(dirname "$0")/lib.sh"
binary=$1

# The program's processor time over 3 s, in per cent of one core.
core_share() {
  local before after
  before=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
  sleep 3
  after=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
  echo $(((after - before) * 100 / (3 * $(getconf CLK_TCK))))
}

start_xvfb
start_app "$binary"
wait_for_window 60
# The texture is made in the first frame: the main loop runs and takes events.
wait_for_line "$APP_OUT" "created texture" 60
# Without a window manager to minimise it, the window is taken off the screen directly,
# which SDL reports as a minimised one.
xdotool windowunmap "$WIN" || fail "xdotool windowunmap"
sleep 1
share=$(core_share)
[ "$share" -lt 5 ] || fail "hidden, the program took $share % of a core, expected under 5 %"
close_window
wait_for_exit 20
expect_clean_end "the hidden window was closed"
stop_private_xvfb

start_figure_run "$binary"
stop_private_xvfb
wait_for_exit 20
[ "$APP_STATUS" -eq 3 ] || fail "exit status $APP_STATUS after the X server ended, expected 3"
lost="geosandbox: the connection to the X server was lost (it ended, or the display was closed)"
[ "$(cat "$APP_ERR")" = "$lost" ] ||
  fail "standard error after the X server ended is not the program's one line"
echo "hidden: $share % of a core"
pass
