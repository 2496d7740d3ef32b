# Key 2 draws the lattice as one-pixel outlines of its quads, key 1 filled again: the
# runs of lit pixels along a row show which.
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
stop_app
pass
