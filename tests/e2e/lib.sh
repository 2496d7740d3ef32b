# Shared helpers for the end-to-end tests: a private Xvfb, the program in the
# background with its standard output in a file, and xdotool to drive it.
#
# Source it from a test script (`source "$(dirname "$0")/lib.sh"`), then:
#   start_xvfb                      private Xvfb on a free display; exports DISPLAY
#   start_app BINARY                runs BINARY in the background, stdin closed;
#                                   sets APP_PID, APP_OUT (stdout file), APP_ERR
#   start_figure_run BINARY         start_xvfb, start_app and wait_for_figure
#   wait_for_figure                 waits for the window and the figure's texture, made in
#                                   the first frame: the loop runs and takes events, and the
#                                   next screenshot shows the lattice
#   core_share [SECONDS]            the program's processor time over SECONDS (default 3),
#                                   in per cent of one core
#   wait_for_window [TIMEOUT]       waits for the "SDL window" window; sets WIN
#   focus_window                    pointer into WIN and keyboard focus on it
#   window_size                     prints WIN's size as WIDTHxHEIGHT
#   close_window                    asks WIN to close as a window manager would
#   hold_key KEY [SECONDS]          xdotool keydown, hold (default 0.15 s), keyup,
#                                   then a pause so the release is seen
#   tap_key KEY...                  xdotool's plain taps, press and release back to back
#   refine_to STEP                  taps t once per step and waits for each step's face count
#   faces_after_step STEP           prints the face count that step STEP ends with
#   wait_for_line FILE TEXT [TIMEOUT]       waits for a whole line equal to TEXT
#   wait_for_count FILE TEXT N [TIMEOUT]    waits for N such lines
#   count_lines FILE TEXT           prints how many whole lines equal TEXT
#   wait_for_exit [TIMEOUT]         waits for the program; sets APP_STATUS
#   expect_clean_end WHAT           the program, ended after WHAT, ran to its orderly end
#   stop_app                        holds Escape and expects a clean end
#   poll_until TIMEOUT COMMAND...   runs COMMAND until it succeeds or TIMEOUT passes
#   let_frames_pass SECONDS         a fixed wait, where only the picture could tell
#   fail MESSAGE                    prints the message and the program's output, exits 1
#   pass                            prints "PASS <script>" and exits 0
# Everything started here is stopped by PID when the script exits, also on failure.
# Timeouts are whole seconds on the clock and generous: the machine may be loaded and
# GL is software. Pixel checks are in pixels.sh beside this file.

set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-e2e.XXXXXX")
APP_PID=""
APP_OUT="$E2E_TMP/stdout"
APP_ERR="$E2E_TMP/stderr"
APP_STATUS=""
WIN=""
E2E_BIN_DIR=""

e2e_cleanup() {
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    kill -KILL "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
  fi
  stop_private_xvfb
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "FAIL $(basename "$0"): $*" >&2
  if [ -s "$APP_OUT" ]; then
    echo "--- last lines of the program's standard output:" >&2
    tail -n 20 "$APP_OUT" >&2
  fi
  if [ -s "$APP_ERR" ]; then
    echo "--- program's standard error:" >&2
    tail -n 20 "$APP_ERR" >&2
  fi
  exit 1
}

pass() {
  echo "PASS $(basename "$0")"
  exit 0
}

start_xvfb() { start_private_xvfb "$E2E_TMP" || fail "no private X server"; }

start_app() {
  local binary=$1
  E2E_BIN_DIR=$(cd "$(dirname "$binary")" && pwd)
  # Made here, since the background start below may open them only after a first look.
  : >"$APP_OUT"
  : >"$APP_ERR"
  "$binary" </dev/null >"$APP_OUT" 2>"$APP_ERR" &
  APP_PID=$!
}

wait_for_figure() {
  wait_for_window 60
  wait_for_line "$APP_OUT" "created texture" 60
}

start_figure_run() {
  start_xvfb
  start_app "$1"
  wait_for_figure
}

core_share() {
  local seconds=${1:-3} before after
  before=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
  sleep "$seconds"
  after=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
  echo $(((after - before) * 100 / (seconds * $(getconf CLK_TCK))))
}

# The program prints nothing per frame, so when a test needs frames drawn (a picture to
# settle, a key's effect to show on screen, something that must not happen) no line can
# be awaited: it waits a fixed time, long against a frame even of software GL.
let_frames_pass() { sleep "$1"; }

find_window() {
  WIN=$(xdotool search --name '^SDL window$' 2>/dev/null | head -n 1)
  [ -n "$WIN" ]
}

wait_for_window() {
  local timeout=${1:-60}
  poll_until "$timeout" find_window || fail "no window named \"SDL window\" after ${timeout} s"
}

# Without a window manager the keyboard follows the pointer, so the pointer goes
# into the window first; the explicit focus then makes it independent of that.
focus_window() {
  xdotool mousemove --window "$WIN" 10 10 2>/dev/null
  xdotool windowfocus --sync "$WIN" 2>/dev/null || xdotool windowfocus "$WIN" 2>/dev/null
  # The program sees the focus change only when it next pumps its events, and nothing
  # it prints tells when that was: a short pause.
  sleep 0.1
}

window_size() {
  xwininfo -id "$WIN" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

# Bare Xvfb has no window manager to turn a click on the close button into the
# WM_DELETE_WINDOW message, so a small helper built beside the program sends it.
close_window() {
  local helper="$E2E_BIN_DIR/e2e_close_window"
  [ -x "$helper" ] || fail "helper $helper is not built"
  "$helper" "$WIN" || fail "could not send WM_DELETE_WINDOW to $WIN"
}

# The program reads the key-state array when it pumps events, so a bare tap can
# fall between two frames; holding the key makes it seen. The pause after the
# release matters as much: a release and the next press within one frame look
# like one long press, and keys that act once per press would miss the second.
hold_key() {
  local key=$1 seconds=${2:-0.15}
  xdotool keydown "$key" || fail "xdotool keydown $key"
  sleep "$seconds"
  xdotool keyup "$key" || fail "xdotool keyup $key"
  sleep 0.5
}

# As people press keys: down and up within a millisecond or two, often shorter than a frame.
tap_key() { xdotool key --delay 0 "$@" || fail "xdotool key $*"; }

# Step 1 splits the icosahedron's 20 faces in three; every later step doubles the faces.
faces_after_step() { echo $((60 << ($1 - 1))); }

refine_to() {
  local step=$(( $(grep -c '^Face count: ' "$APP_OUT") + 1 ))
  for ((; step <= $1; step++)); do
    tap_key t
    wait_for_line "$APP_OUT" "Face count: $(faces_after_step "$step")" 120
  done
}

count_lines() {
  local file=$1 text=$2
  grep -cFx -- "$text" "$file" 2>/dev/null || true
}

has_count() { [ "$(count_lines "$1" "$2")" -ge "$3" ]; }

wait_for_count() {
  local file=$1 text=$2 count=$3 timeout=${4:-30}
  poll_until "$timeout" has_count "$file" "$text" "$count" ||
    fail "expected $count line(s) \"$text\" within ${timeout} s, saw $(count_lines "$file" "$text")"
}

wait_for_line() { wait_for_count "$1" "$2" 1 "${3:-30}"; }

app_has_exited() { ! kill -0 "$APP_PID" 2>/dev/null; }

wait_for_exit() {
  local timeout=${1:-30}
  poll_until "$timeout" app_has_exited || fail "program still running after ${timeout} s"
  wait "$APP_PID"
  APP_STATUS=$?
  APP_PID=""
}

# Status 0, and the shutdown's two lines last on standard output: nothing cut the run short.
expect_clean_end() {
  [ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS after $1, expected 0"
  [ "$(tail -n 2 "$APP_OUT" | tr '\n' '|')" = "sdl_quit|sdl_quit done|" ] ||
    fail "output after $1 does not end with sdl_quit, sdl_quit done"
}

stop_app() {
  focus_window
  xdotool keydown Escape
  poll_until 20 app_has_exited
  xdotool keyup Escape 2>/dev/null
  wait_for_exit 10
  expect_clean_end Escape
}
