#include "app/opening_watch.h"

#include <unistd.h>

#include "app/crash_report.h"

namespace {

template <std::size_t length>
void writeError(const char (&message)[length]) {
  // write, not a stream: this runs inside a signal handler.
  const ssize_t written = write(STDERR_FILENO, message, length - 1);
  (void)written;
}

extern "C" void endWhileOpening(int signalNumber) {
  writeError("geosandbox: stopped while the window was opening\n");
  endWithDefaultAction(signalNumber);
}

extern "C" void sayStillOpening(int) {
  writeError(
      "geosandbox: the window is still not open; the X server may be keeping the keyboard for "
      "another full-screen program (Ctrl-C ends the wait)\n");
}

struct sigaction handlerFor(void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  // SDL and Xlib go on with their calls where the alarm came.
  action.sa_flags = SA_RESTART;
  return action;
}

// A signal the program was started with ignored (a background job's Ctrl-C) stays ignored.
void watchSignal(int signalNumber, const struct sigaction& handler, struct sigaction& saved) {
  sigaction(signalNumber, nullptr, &saved);
  if (saved.sa_handler == SIG_IGN) return;
  sigaction(signalNumber, &handler, nullptr);
}

}  // namespace

OpeningWatch::OpeningWatch(unsigned patienceSeconds) {
  const struct sigaction end = handlerFor(endWhileOpening);
  const struct sigaction say = handlerFor(sayStillOpening);
  watchSignal(SIGINT, end, interrupt_);
  watchSignal(SIGTERM, end, terminate_);
  sigaction(SIGALRM, &say, &alarm_);
  alarm(patienceSeconds);
}

OpeningWatch::~OpeningWatch() {
  alarm(0);
  sigaction(SIGALRM, &alarm_, nullptr);
  sigaction(SIGTERM, &terminate_, nullptr);
  sigaction(SIGINT, &interrupt_, nullptr);
}
