# While the camera turns left the figure moves right on the screen, and each frame
# leaves a fading copy behind it: a long faint lead-in left of the figure's edge,
# where the still view has a sharp edge.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"

start_figure_run "$1"
focus_window
let_frames_pass 1.5
take_screenshot "$E2E_TMP/still.png"
xdotool keydown Left || fail "xdotool keydown Left"
# Held, not awaited: the camera turns for this long and leaves its trails.
sleep 0.9
take_screenshot "$E2E_TMP/turning.png"
xdotool keyup Left

still=$(leading_fade "$E2E_TMP/still.png" 0 0 1024 768)
turning=$(leading_fade "$E2E_TMP/turning.png" 0 0 1024 768)
echo "faint pixels before the figure's left edge: still $still, turning $turning"
[ "$turning" -gt $((still * 3)) ] || fail "no trails while turning ($turning vs $still)"
[ "$turning" -gt 10000 ] || fail "trails too short while turning ($turning faint pixels)"
stop_app
pass
