#pragma once
// The program's own signal handling: its last word when it crashes, and an end to a window
// that will not open. Every handler here does only what signal-safety(7) allows.

#include <csignal>
#include <cstddef>
#include <cstdint>

constexpr std::uint64_t noAddressSpaceLimit = UINT64_MAX;

// The report for `signal` under a limit of `limitBytes` (or noAddressSpaceLimit), with its
// newline, into `buffer`, cut to fit and NUL-terminated; returns its length. It allocates
// nothing and calls no library function, so a signal handler can use it.
std::size_t formatCrashReport(char* buffer, std::size_t size, int signal, std::uint64_t limitBytes);

// Handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT, on a stack of their own so that
// a stack that cannot grow is reported too. Each writes the report, then calls
// `restoreDesktop` (where given) with at most `restoreSeconds` to finish, then ends the
// process by the signal's default action, so the status is the crash's own (a second fault
// during the restore ends it by that fault's action, and its status). Installed
// before SDL_Init, they keep SDL 1.2's own crash handler out, which only takes signals
// nobody else handles.
void installCrashReport(void (*restoreDesktop)() = nullptr, unsigned restoreSeconds = 2);

// The stack a crash handler runs on: SDL_Quit with Mesa, called from it, needs far more than
// the minimum (SIGSTKSZ), which is some kilobytes.
constexpr std::size_t crashStackBytes = 256 * 1024;

// Gives the calling thread's crash handlers `bytes` at `memory` to run on: signal stacks are
// per thread, and a thread without one would get no report for a stack that cannot grow. The
// memory must stay the thread's until it ends. A step's further threads are set up with it.
void useCrashStack(void* memory, std::size_t bytes);

// A write to a reader that went away (a pager quit early, an X server that ended) fails
// with EPIPE instead of ending the process without a word: lost output and a lost display
// each end the run with their own line and status, and the window stays until then.
void ignoreBrokenPipes();

// While the video mode is being set the loop does not run, and SDL's own handlers only queue
// Ctrl-C and SIGTERM as a quit event for it: for that time they end the program, and a mode
// that keeps the program waiting (for a keyboard another full-screen program holds) is said.
class WindowOpeningGuard {
 public:
  // SIGINT and SIGTERM end the program, where it was not started with them ignored; after
  // `patienceSeconds` one line on standard error says the window is still not open.
  explicit WindowOpeningGuard(unsigned patienceSeconds = 5);
  // Restores the handlers that were there before, SDL's among them.
  ~WindowOpeningGuard();
  WindowOpeningGuard(const WindowOpeningGuard&) = delete;
  WindowOpeningGuard& operator=(const WindowOpeningGuard&) = delete;

 private:
  struct sigaction interrupt_ = {};
  struct sigaction terminate_ = {};
  struct sigaction alarm_ = {};
};
