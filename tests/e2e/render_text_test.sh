# Text over the picture: F1 shows the keys and F1 again takes them away without a trace; a
# step's figures show in the top left corner; without a font the program runs on, says so
# once, and F1 and t draw no text. White pixels are text: the figure's colours always lack
# red or blue.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"
binary=$1

white='r > 180 && g > 180 && b > 180'
shown=0
white_in() { # FILE X Y W H: the count of white pixels of the box, in $shown
  take_screenshot "$1"
  shown=$(count_pixels "$1" "$2" "$3" "$4" "$5" "$white")
}
# The table lies over the window's middle, the caption in its top left corner.
middle=(150 150 720 450)
corner=(0 0 400 120)
keys_shown() { white_in "$E2E_TMP/keys.png" "${middle[@]}" && [ "$shown" -gt 2000 ]; }
keys_gone() { white_in "$E2E_TMP/gone.png" "${middle[@]}" && [ "$shown" -eq 0 ]; }
caption_shown() { white_in "$E2E_TMP/caption.png" "${corner[@]}" && [ "$shown" -gt 300 ]; }
caption_gone() { white_in "$E2E_TMP/caption_gone.png" "${corner[@]}" && [ "$shown" -eq 0 ]; }

start_figure_run "$binary"
focus_window
let_frames_pass 1
white_in "$E2E_TMP/before.png" 0 0 1024 768
[ "$shown" -eq 0 ] || fail "$shown white pixels before F1"
[ ! -s "$APP_ERR" ] || fail "something said on standard error with the font there"

hold_key F1 0.1
poll_until 10 keys_shown || fail "F1 shows no table of keys ($shown white pixels)"
hold_key t 0.1
wait_for_line "$APP_OUT" "Face count: 60" 30
poll_until 3 caption_shown || fail "no caption after the step ($shown white pixels)"
keys_shown || fail "the keys went away at a step ($shown white pixels)"
hold_key F1 0.1
poll_until 10 keys_gone || fail "F1 again leaves $shown white pixels where the keys were"
poll_until 15 caption_gone || fail "the caption stays ($shown white pixels)"
stop_app

# A font that cannot be read: the run goes on as before, the line said once, no text.
GEOSANDBOX_FONT=/nonexistent/geosandbox-font.ttf start_app "$binary"
wait_for_figure
focus_window
hold_key F1 0.1
hold_key t 0.1
wait_for_line "$APP_OUT" "Face count: 60" 30
let_frames_pass 1
app_has_exited && fail "the program ended without a font"
white_in "$E2E_TMP/no_font.png" 0 0 1024 768
[ "$shown" -eq 0 ] || fail "$shown white pixels without a font"
stop_app
said=$(grep -c "shows no text" "$APP_ERR")
[ "$said" -eq 1 ] || fail "the missing font was said $said times"
grep -q "/nonexistent/geosandbox-font.ttf" "$APP_ERR" || fail "the line does not name the font"
pass
