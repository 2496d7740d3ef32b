# After a resize to 800x600 the figure is still a see-through lattice filling the new
# window, and the texture is not made again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"

start_figure_run "$1"
focus_window
xdotool windowsize "$WIN" 800 600 || fail "xdotool windowsize"
window_is_800x600() { xdotool getwindowgeometry "$WIN" 2>/dev/null | grep -q 'Geometry: 800x600'; }
poll_until 20 window_is_800x600 || fail "the window did not become 800x600"
shot="$E2E_TMP/resized.png"
# The figure turns, and through its holes shows its far side wherever that is in view, so
# how many holes look dark depends on the pose (and the pose at a given second on the frame
# rate the SDL library gives): the lattice is looked for over some seconds of turning.
lattice_fills_the_window() {
  WINDOW=$WIN take_screenshot "$shot"
  [ "$(image_size "$shot")" = "800 600" ] || return 1
  middle=$(count_pixels "$shot" 200 150 400 300 'm > 60')
  holes=$(count_holes "$shot" 0 0 800 600)
  # The old size's edge: the image must not stop at 800 - 0 or be cut at the old corner.
  far=$(count_pixels "$shot" 400 0 400 300 'm > 60')
  [ "$middle" -gt 8000 ] && [ "$holes" -gt 300 ] && [ "$far" -gt 1000 ]
}
poll_until 30 lattice_fills_the_window ||
  fail "no see-through lattice filling 800x600 in 30 s; last look: $(image_size "$shot"), $middle \
figure pixels in the middle (> 8000), $holes holes (> 300), $far lit in the upper right (> 1000)"

for line in "creating texture" "created texture"; do
  [ "$(count_lines "$APP_OUT" "$line")" -eq 1 ] || fail "\"$line\" not printed once"
done
stop_app
pass
