# What a window manager would see of F11 and Alt+Tab, on a bare X server of 1600x1200 that
# has no 1024x768 mode, where full screen on classic SDL 1.2 fills the screen all the same.
# F11 gives a 4:3 window of two thirds of the screen's height, asks for
# the keyboard (_NET_ACTIVE_WINDOW from an application, with a time) and leaves no grab; F11
# again gives full screen, grabbing what it grabbed at start; after a resize of that window from
# outside, F11 there and back gives F11's size again. Where full screen holds the keyboard (classic SDL 1.2), Alt+Tab asks the window
# manager to minimise the window, and the program rests until a key reaches it. Where the
# window manager names no window active while the window keeps the focus after F11 (kwin has
# lost it so), the program gives itself the focus afresh for the manager to see; where the
# manager names the window, the focus is left alone.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pixels.sh"
binary=$1
f11_size=1066x800

probe() { "$E2E_BIN_DIR/e2e_desktop_probe" "$@"; }
# Full screen fills the screen: lit pixels around the 1024x768 box in its middle, where a
# picture shown 1:1 amid black has none.
fills_screen() {
  local shot=$E2E_TMP/full-screen.png lit=0 band
  take_screenshot "$shot"
  for band in "0 0 1600 216" "0 984 1600 216" "0 216 288 768" "1312 216 288 768"; do
    # shellcheck disable=SC2086
    lit=$((lit + $(count_pixels "$shot" $band "m > 40")))
  done
  [ "$lit" -gt 1000 ]
}
is_size() { [ "$(window_size)" = "$1" ]; }
is_not_size() { [ "$(window_size)" != "$1" ]; }
# f11_to WHAT CHECK...: F11, then CHECK must hold within 20 s.
f11_to() {
  local what=$1
  shift
  focus_window
  tap_key F11
  poll_until 20 "$@" || fail "F11 $what: the window is $(window_size) ($*)"
  # A person does not press again within the frames the switch takes.
  let_frames_pass 1
}

XVFB_SCREEN=1600x1200x24 start_figure_run "$binary"
probe requests 100 >"$E2E_TMP/requests" 2>&1 &
requests_pid=$!
poll_until 10 grep -q listening "$E2E_TMP/requests" || fail "the probe does not listen"
full_grabs=$(probe grabs)
grabs_are() { [ "$(probe grabs)" = "$1" ]; }
# Classic SDL 1.2 holds both in full screen; the program fills the screen there. sdl12-compat
# leaves full screen to the window manager, and there is none here.
classic_sdl() { [ "$full_grabs" = "pointer held keyboard held" ]; }
if classic_sdl; then
  poll_until 20 fills_screen || fail "full screen at start does not fill the screen"
fi

name_active() { xprop -root -f _NET_ACTIVE_WINDOW 32c -set _NET_ACTIVE_WINDOW "$1"; }
# The focus arriving at and leaving WIN since xev began, a line each: "FocusIn NotifyNormal".
focus_changes() { awk '/^Focus/ { type = $1 } /mode/ { sub(",", ""); print type, $2 }' "$E2E_TMP/focus"; }
focused_afresh() { focus_changes | grep -q "FocusIn NotifyNormal"; }
name_active 0
focus_window
xev -id "$WIN" -event focus >"$E2E_TMP/focus" 2>&1 &
focus_pid=$!
let_frames_pass 1
f11_to "to a window" is_size "$f11_size"
poll_until 10 focused_afresh ||
  fail "none named active after F11, the window was not focused afresh: $(focus_changes)"
poll_until 10 grabs_are "pointer free keyboard free" || fail "after F11 $(probe grabs)"
# mutter tells the window F11 gives of the size before as it places it: not a resize.
probe configure "$WIN" 1024 768
let_frames_pass 1
is_size "$f11_size" || fail "a window manager's word of the size before made it $(window_size)"
asked() { grep -q "^_NET_ACTIVE_WINDOW $WIN 1 [1-9]" "$E2E_TMP/requests"; }
poll_until 10 asked || fail "after F11 no activation of $WIN was asked with a time"

xdotool windowsize "$WIN" 800 600 || fail "xdotool windowsize"
poll_until 20 is_size 800x600 || fail "the window did not become 800x600"
let_frames_pass 1
f11_to "to full screen" is_not_size 800x600
if classic_sdl; then
  poll_until 20 fills_screen || fail "full screen after F11 does not fill the screen"
fi
poll_until 10 grabs_are "$full_grabs" ||
  fail "full screen again: $(probe grabs), at start $full_grabs"
name_active "$WIN"
seen=$(focus_changes | wc -l)
f11_to "to a window after the resize" is_size "$f11_size"
f11_to "to full screen again" is_not_size "$f11_size"
let_frames_pass 2
focus_changes | tail -n +$((seen + 1)) | grep -q "FocusOut NotifyNormal" &&
  fail "named active, the window's focus was still taken and given again"
kill "$focus_pid"

if classic_sdl; then
  focus_window
  tap_key alt+Tab
  minimise="WM_CHANGE_STATE $WIN 3"
  poll_until 10 grep -qx "$minimise" "$E2E_TMP/requests" || fail "Alt+Tab asked no minimise"
  sleep 1
  share=$(core_share)
  [ "$share" -lt 5 ] || fail "left by Alt+Tab, the program took $share % of a core"
  refine_to 1
  back=$(core_share)
  [ "$back" -ge 10 ] || fail "back after t, the program took $back % of a core"
fi
kill "$requests_pid"
stop_app
pass
