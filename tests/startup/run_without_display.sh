# Runs the program with no display and standard input closed, its standard output
# into the file named by $2, its exit status into RUN_STATUS. Source it;
# run_without_display BINARY FILE.
RUN_STATUS=""
run_without_display() {
  local binary=$1 output=$2
  # The program ends by itself once it finds no display; the timeout only guards a hang.
  local status=0
  env -u DISPLAY -u SDL_VIDEODRIVER timeout 60 "$binary" <&- >"$output" 2>/dev/null || status=$?
  RUN_STATUS=$status
  if [ "$status" -eq 124 ]; then
    echo "the program did not end within 60 s without a display" >&2
    return 1
  fi
  local lines
  lines=$(wc -l <"$output")
  if [ "$lines" -lt 73 ]; then
    echo "the program wrote only $lines lines:" >&2
    cat "$output" >&2
    return 1
  fi
}
