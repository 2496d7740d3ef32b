# Runs the GL render tests on a private Xvfb: run_gl_tests.sh BINARY [gtest arguments]
source "$(dirname "$0")/../e2e/lib.sh"
start_xvfb
"$@"
status=$?
exit "$status"
