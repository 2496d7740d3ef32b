#pragma once
// While the video mode is being set the loop does not run, and SDL's own handlers only queue
// Ctrl-C and SIGTERM as a quit event for it: for that time they end the program, and a mode
// that keeps the program waiting (for a keyboard another full-screen program holds) is said.

#include <csignal>

class OpeningWatch {
 public:
  // Arms the watch: SIGINT and SIGTERM end the program; after `patienceSeconds` one line on
  // standard error says the window is still not open.
  explicit OpeningWatch(unsigned patienceSeconds = 5);
  // Restores the handlers that were there before, SDL's among them.
  ~OpeningWatch();
  OpeningWatch(const OpeningWatch&) = delete;
  OpeningWatch& operator=(const OpeningWatch&) = delete;

 private:
  struct sigaction interrupt_ = {};
  struct sigaction terminate_ = {};
  struct sigaction alarm_ = {};
};
