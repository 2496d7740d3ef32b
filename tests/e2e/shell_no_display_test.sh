# Without a display the program fails cleanly: the golden start-up lines, the video-mode
# message as its last line, status 2. Here among the end-to-end tests because CI runs them
# again on sdl12-compat, so the one no-display check runs on both SDL 1.2s.
here=$(dirname "$0")
exec sh "$here/../../debian/check-start-output" "$1" "$here/../startup/start_output_golden.txt"
