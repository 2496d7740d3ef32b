# Shortly after start the window shows the figure as a coloured see-through lattice on
# black, and the lattice texture is made exactly once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"

start_figure_run "$1"
let_frames_pass 1.5
shot="$E2E_TMP/lattice.png"
take_screenshot "$shot"

middle=$(count_pixels "$shot" 256 192 512 384 'm > 60')
[ "$middle" -gt 10000 ] || fail "only $middle figure pixels in the middle of the screen"

holes=$(count_holes "$shot" 0 0 1024 768)
[ "$holes" -gt 300 ] || fail "only $holes holes inside the figure: the lattice is not see-through"

# Coloured by the fourth coordinate: blue at one end, green in the middle, red at the other.
for colour in 'b > 80 && b > 2 * r && b > 2 * g' 'g > 80 && g > 2 * r && g > 2 * b' \
  'r > 80 && r > 2 * g && r > 2 * b'; do
  found=$(count_pixels "$shot" 0 0 1024 768 "$colour")
  [ "$found" -gt 100 ] || fail "only $found pixels with $colour"
done

for corner in "0 0" "992 0" "0 736" "992 736"; do
  # shellcheck disable=SC2086
  black=$(count_pixels "$shot" $corner 32 32 'm <= 2')
  [ "$black" -eq 1024 ] || fail "corner at $corner is not black ($black of 1024 black pixels)"
done

for line in "creating texture" "created texture"; do
  [ "$(count_lines "$APP_OUT" "$line")" -eq 1 ] || fail "\"$line\" not printed once"
done
stop_app
pass
