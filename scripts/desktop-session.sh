# The desktop sessions scripts/desktop-check runs the program in. Sourced; needs bash 5 and,
# for the namespaces, root.
# Outside a session:
#   sdl_libraries BUILD          sets SDL_NAMES, SDL_KINDS (classic or compat) and SDL_DIRS:
#                                the installed SDL 1.2 (dir empty) and, where that is classic
#                                SDL, sdl12-compat unpacked beside the build
#                                (scripts/sdl12-compat-library)
#   in_private_session KEPT... -- COMMAND...   runs COMMAND in a mount and network namespace
#                                of its own with a fresh /tmp (scripts/fresh-tmp, which binds
#                                each folder KEPT back in), so the X servers' sockets, lock
#                                files and abstract socket names are its own: Weston's Xwayland
#                                picks its display number itself, and no session sees another's
# Inside one, after tests/e2e/lib.sh and pixels.sh:
#   start_desktop KIND           the session's desktop, DISPLAY set to where programs show:
#                                xvfb (a plain 1024 x 768 Xvfb), openbox (that with openbox),
#                                weston (Weston's Xwayland in an Xvfb), xephyr-N (Xephyr with
#                                N Xinerama heads of 1920 x 1080 side by side, openbox),
#                                openbox-xterm (openbox on a 1280 x 1024 Xvfb whose root is
#                                ROOT_COLOUR, an xterm in its top left corner writing what it
#                                is typed into XTERM_GOT)
#   start_window_manager         openbox on DISPLAY, once it manages windows
#   desktop_screenshot FILE      the session's screen as PNG; sets SCREEN_BOX, "X Y W H" of
#                                the part of FILE that shows the screen
#   stop_desktop                 ends what start_desktop started (lib.sh's cleanup does not)

here_desktop=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

sdl_libraries() {
  local build=$1 installed
  installed=$(dpkg-query -W -f='${Source} ${Version}' libsdl1.2debian 2>/dev/null || echo unknown)
  SDL_NAMES=("installed SDL 1.2 ($installed)")
  SDL_DIRS=("")
  if [[ "$installed" == sdl12-compat* ]]; then
    SDL_KINDS=(compat)
    return 0
  fi
  SDL_KINDS=(classic compat)
  SDL_NAMES+=("sdl12-compat")
  SDL_DIRS+=("$(bash "$here_desktop/sdl12-compat-library" "$build")")
}

in_private_session() {
  local as_root=()
  [[ $(id -u) -eq 0 ]] || as_root=(--map-root-user)
  unshare "${as_root[@]}" --mount --net --propagation private \
    bash "$here_desktop/fresh-tmp" "$@"
}

DESKTOP_PIDS=()
SCREEN_BOX=""
screenshot_by=import

stop_desktop() {
  local index pid
  for ((index = ${#DESKTOP_PIDS[@]} - 1; index >= 0; index--)); do
    pid=${DESKTOP_PIDS[$index]}
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid"
      wait "$pid" 2>/dev/null || true
    fi
  done
  DESKTOP_PIDS=()
}

# A window manager still starting up can hold the server while SDL grabs the pointer for
# its full-screen window, and SDL 1.2 then waits for the grab without end: it is ready once
# it names itself on the root window.
window_manager_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_window_manager() {
  openbox >"$E2E_TMP/openbox.log" 2>&1 &
  DESKTOP_PIDS+=($!)
  poll_until 20 window_manager_ready ||
    { cat "$E2E_TMP/openbox.log" >&2; fail "openbox did not start"; }
}

# Weston's X11 back-end, 1900 x 1040, inside an Xvfb of 1920 x 1080, with --xwayland (its
# headless back-end has no input seat); weston-screenshooter, which needs --debug, takes the
# output.
start_weston() {
  local socket=geosandbox-wayland x_display=""
  XVFB_SCREEN=1920x1080x24 start_xvfb
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  printf '[core]\nidle-time=0\n[shell]\npanel-position=none\n' >"$E2E_TMP/weston.ini"
  weston --config="$E2E_TMP/weston.ini" --backend=x11-backend.so --width=1900 --height=1040 \
    --xwayland --debug --socket="$socket" >"$E2E_TMP/weston.log" 2>&1 &
  DESKTOP_PIDS+=($!)
  # The session's /tmp is its own: the one X socket besides Xvfb's is Xwayland's.
  xwayland_display() {
    local path
    for path in /tmp/.X11-unix/X*; do
      [[ -S "$path" && "$path" != "/tmp/.X11-unix/X${DISPLAY#:}" ]] && x_display=${path##*/}
    done
    [[ -n "$x_display" && -S "$XDG_RUNTIME_DIR/$socket" ]]
  }
  poll_until 30 xwayland_display ||
    { cat "$E2E_TMP/weston.log" >&2; fail "Weston gave no Xwayland"; }
  export DISPLAY=":${x_display#X}" WAYLAND_DISPLAY=$socket
  screenshot_by=weston
}

start_xephyr() {
  local heads=$1 head screens=() display_file=$E2E_TMP/xephyr-display
  XVFB_SCREEN=$((1920 * heads))x1080x24 start_xvfb
  for ((head = 0; head < heads; head++)); do screens+=(-screen "1920x1080+$((1920 * head))+0"); done
  : >"$display_file"
  Xephyr -displayfd 3 +xinerama "${screens[@]}" -nolisten tcp -noreset 3>"$display_file" \
    >"$E2E_TMP/xephyr.log" 2>&1 &
  DESKTOP_PIDS+=($!)
  poll_until 20 grep -q '[0-9]' "$display_file" ||
    { cat "$E2E_TMP/xephyr.log" >&2; fail "Xephyr did not start"; }
  export DISPLAY=":$(tr -dc '0-9' <"$display_file")"
  poll_until 20 xvfb_answers || fail "Xephyr on $DISPLAY does not answer"
  start_window_manager
}

# A screen larger than the program's 1024 x 768, so a window of that size leaves the root in
# view; the root in a colour nothing else has, so what shows of it can be counted.
ROOT_COLOUR=#2050a0
start_desktop_with_xterm() {
  XVFB_SCREEN=1280x1024x24 start_xvfb
  start_window_manager
  xsetroot -solid "$ROOT_COLOUR" || fail "xsetroot"
  XTERM_GOT=$E2E_TMP/xterm-got
  : >"$XTERM_GOT"
  xterm -geometry 60x12+0+0 -title typed-here -e sh -c "cat >'$XTERM_GOT'" &
  DESKTOP_PIDS+=($!)
  xterm_shown() { xdotool search --name '^typed-here$' >/dev/null 2>&1; }
  poll_until 20 xterm_shown || fail "the xterm did not open"
}

start_desktop() {
  case $1 in
    xvfb) start_xvfb ;;
    openbox) start_xvfb && start_window_manager ;;
    weston) start_weston ;;
    xephyr-[1-9]) start_xephyr "${1#xephyr-}" ;;
    openbox-xterm) start_desktop_with_xterm ;;
    *) fail "no desktop '$1'" ;;
  esac
}

desktop_screenshot() {
  local file=$1 width height
  if [[ "$screenshot_by" == weston ]]; then
    (cd "$E2E_TMP" && weston-screenshooter) || fail "weston-screenshooter failed"
    mv "$E2E_TMP"/wayland-screenshot*.png "$file"
  else
    take_screenshot "$file"
  fi
  read -r width height <<<"$(image_size "$file")"
  SCREEN_BOX="0 0 $width $height"
  # Weston's background shows in a few columns at the output's right edge.
  [[ "$screenshot_by" != weston ]] || SCREEN_BOX="8 8 $((width - 16)) $((height - 16))"
}
