# Without a display the program fails cleanly: its last line is the video-mode
# message, no terminal escape sequence reaches standard output, exit status 2.
source "$(dirname "$0")/lib.sh"
binary=$1

env -u DISPLAY -u SDL_VIDEODRIVER "$binary" <&- >"$APP_OUT" 2>"$APP_ERR"
status=$?
[ "$status" -eq 2 ] || fail "exit status $status, expected 2"
[ "$(tail -n 1 "$APP_OUT")" = "Can't set video mode! Exiting." ] || fail "last line is not the video-mode message"
if grep -q "$(printf '\033')" "$APP_OUT"; then fail "escape sequences on standard output"; fi
if grep -qFx "sdl_quit" "$APP_OUT"; then fail "sdl_quit printed after a failed start"; fi
pass
