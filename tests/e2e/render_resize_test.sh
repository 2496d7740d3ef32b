# After a resize to 800x600 the figure is still a see-through lattice filling the new
# window, and the texture is not made again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"

start_figure_run "$1"
focus_window
xdotool windowsize "$WIN" 800 600 || fail "xdotool windowsize"
window_is_800x600() { xdotool getwindowgeometry "$WIN" 2>/dev/null | grep -q 'Geometry: 800x600'; }
poll_until 20 window_is_800x600 || fail "the window did not become 800x600"
let_frames_pass 1.5
shot="$E2E_TMP/resized.png"
WINDOW=$WIN take_screenshot "$shot"

[ "$(image_size "$shot")" = "800 600" ] || fail "window image is $(image_size "$shot"), not 800 600"
middle=$(count_pixels "$shot" 200 150 400 300 'm > 60')
[ "$middle" -gt 8000 ] || fail "only $middle figure pixels in the middle after the resize"
holes=$(count_holes "$shot" 0 0 800 600)
[ "$holes" -gt 300 ] || fail "only $holes holes after the resize: the lattice is gone"
# The old size's edge: the image must not stop at 800 - 0 or be cut at the old corner.
far=$(count_pixels "$shot" 400 0 400 300 'm > 60')
[ "$far" -gt 1000 ] || fail "only $far lit pixels in the upper right quarter"

[ "$(count_lines "$APP_OUT" "creating texture")" -eq 1 ] || fail "\"creating texture\" not printed once"
[ "$(count_lines "$APP_OUT" "created texture")" -eq 1 ] || fail "\"created texture\" not printed once"
stop_app
pass
