# Closing the window delivers a quit event: the run ends like after Escape, also while the
# window is hidden, when the program draws nothing and waits. An X server that goes away,
# or a window another program destroys, ends the run with its own status and line.
source "$(dirname "$0")/lib.sh"
binary=$1

start_figure_run "$binary"
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

# A window manager that keeps a minimised window mapped (mutter) says so only in the window's
# properties, Iconic WM_STATE or _NET_WM_STATE_HIDDEN: the program rests then too, and draws
# again once they say otherwise.
start_figure_run "$binary"
for property in "WM_STATE 32c WM_STATE 3" "_NET_WM_STATE 32a _NET_WM_STATE _NET_WM_STATE_HIDDEN"; do
  read -r name format _ value <<<"$property"
  xprop -id "$WIN" -f "$name" "$format" -set "$name" "$value" || fail "xprop $name"
  sleep 1
  minimised=$(core_share)
  xprop -id "$WIN" -remove "$name"
  sleep 1
  back=$(core_share)
  [ "$minimised" -lt 5 ] && [ "$back" -ge 10 ] ||
    fail "with $name $value the program took $minimised % of a core, $back % after, expected" \
      "under 5 % and 10 % or more"
done
stop_app
stop_private_xvfb

start_figure_run "$binary"
stop_private_xvfb
wait_for_exit 20
[ "$APP_STATUS" -eq 3 ] || fail "exit status $APP_STATUS after the X server ended, expected 3"
lost="geosandbox: the connection to the X server was lost (it ended, or the display was closed)"
[ "$(cat "$APP_ERR")" = "$lost" ] ||
  fail "standard error after the X server ended is not the program's one line"
start_figure_run "$binary"
xdotool windowclose "$WIN" || fail "xdotool windowclose"
wait_for_exit 5
[ "$APP_STATUS" -eq 4 ] || fail "exit status $APP_STATUS after the window was destroyed, expected 4"
[ "$(grep -c . "$APP_ERR")" -eq 1 ] &&
  grep -q '^geosandbox: the window was destroyed by another program (the X server refused X_' \
    "$APP_ERR" || fail "standard error after the window was destroyed is not the program's one line"
stop_private_xvfb
echo "hidden: $share % of a core"
pass
