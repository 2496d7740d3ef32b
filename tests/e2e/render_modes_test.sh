# Key 2 draws the lattice as one-pixel outlines of its quads, key 1 filled again: the
# runs of lit pixels along a row show which. Then m shows the refined mesh, a round body
# where the figure was, and m again the figure's see-through lattice.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"

start_figure_run "$1"
focus_window
let_frames_pass 1.5
take_screenshot "$E2E_TMP/filled.png"
filled=$(mean_run_length "$E2E_TMP/filled.png" 0 0 1024 768)

# Each key's effect is awaited on the screen itself, one screenshot per look.
lines=0
filledAgain=0
shows_lines() {
  take_screenshot "$E2E_TMP/lines.png"
  lines=$(mean_run_length "$E2E_TMP/lines.png" 0 0 1024 768)
  [ "$lines" -gt 0 ] && [ $((lines * 10)) -lt $((filled * 6)) ]
}
shows_filled_again() {
  take_screenshot "$E2E_TMP/filled_again.png"
  filledAgain=$(mean_run_length "$E2E_TMP/filled_again.png" 0 0 1024 768)
  [ $((filledAgain * 10)) -gt $((lines * 15)) ]
}

hold_key 2 0.3
poll_until 10 shows_lines || fail "key 2 did not switch to lines ($lines vs $filled)"
hold_key 1 0.3
poll_until 10 shows_filled_again || fail "key 1 did not fill again ($filledAgain vs $lines)"
echo "mean lit run x100: filled $filled, lines $lines, filled again $filledAgain"

lit=$(count_pixels "$E2E_TMP/lines.png" 256 192 512 384 'm > 60')
[ "$lit" -gt 2000 ] || fail "the outlines show only $lit lit pixels in the middle"

# A disc: its box as wide as high, about pi/4 of it lit, no holes. Above the legend in the
# lower left corner and below the step's caption in the upper left.
round=""
shows_round_body() {
  take_screenshot "$E2E_TMP/mesh.png"
  read -r w h x y <<<"$(figure_box "$E2E_TMP/mesh.png" 0 64 1024 600)"
  [ "$w" -gt 200 ] && [ $((w * 10)) -lt $((h * 11)) ] && [ $((h * 10)) -lt $((w * 11)) ] ||
    { round="box $w x $h"; return 1; }
  lit=$(count_pixels "$E2E_TMP/mesh.png" "$x" $((y + 64)) "$w" "$h" 'm > 40')
  round="box $w x $h, $lit lit"
  [ $((lit * 100)) -gt $((w * h * 74)) ] && [ $((lit * 100)) -lt $((w * h * 83)) ] &&
    [ "$(count_holes "$E2E_TMP/mesh.png" "$x" $((y + 64)) "$w" "$h")" -eq 0 ]
}
shows_lattice() {
  take_screenshot "$E2E_TMP/figure.png"
  [ "$(count_holes "$E2E_TMP/figure.png" 0 0 1024 768)" -gt 300 ]
}
refine_to 4
tap_key m
poll_until 20 shows_round_body || fail "m did not show a round body: $round"
tap_key m
poll_until 20 shows_lattice || fail "m again did not show the figure's lattice"
echo "mesh view: $round"
stop_app
pass
