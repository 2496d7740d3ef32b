#include "app/signals.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace {

const int crashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// What a crash handler needs and cannot be handed: set once before the handlers exist,
// read only by them. The crash is kept for the handler of the restore's time limit.
void (*desktopRestore)() = nullptr;
unsigned desktopRestoreSeconds = 0;
volatile sig_atomic_t crashSignal = 0;

const char* signalName(int signal) {
  switch (signal) {
    case SIGSEGV:
      return "a segmentation fault (SIGSEGV)";
    case SIGBUS:
      return "a bus error (SIGBUS)";
    case SIGFPE:
      return "an arithmetic fault (SIGFPE)";
    case SIGILL:
      return "an illegal instruction (SIGILL)";
    case SIGABRT:
      return "an abort (SIGABRT)";
    default:
      return "a fatal signal";
  }
}

// Appends to a buffer that never overflows; what does not fit is dropped.
struct Writer {
  char* buffer;
  std::size_t size;
  std::size_t length;
};

void put(Writer& out, const char* text) {
  for (; *text; ++text) {
    if (out.length + 1 < out.size) out.buffer[out.length++] = *text;
  }
}

void putNumber(Writer& out, std::uint64_t value) {
  char digits[21];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  char text[2] = {0, 0};
  while (count > 0) {
    text[0] = digits[--count];
    put(out, text);
  }
}

void writeError(const char* text, std::size_t length) {
  const ssize_t written = write(STDERR_FILENO, text, length);
  (void)written;  // nothing is left to do about a standard error that cannot be written
}

template <std::size_t length>
void writeError(const char (&text)[length]) {
  writeError(text, length - 1);
}

// The one way a handler's struct sigaction is filled: the flags are chosen here.
struct sigaction actionFor(void (*handler)(int), int flags) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  return action;
}

// The signal's default action, taken at once: it is unblocked, since inside its own handler
// it would otherwise wait for a return that may never come. Ends the process either way.
[[noreturn]] void endWithDefaultAction(int signal) {
  const struct sigaction fallback = actionFor(SIG_DFL, 0);
  sigaction(signal, &fallback, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);
}

// A restore that hangs (a lock the crash left held) must not keep the process alive.
extern "C" void endRestoreTooLong(int) {
  endWithDefaultAction(crashSignal);
}

extern "C" void reportCrash(int signal) {
  crashSignal = signal;
  rlimit limit{};
  std::uint64_t limitBytes = noAddressSpaceLimit;
  // getrlimit is a plain system call that only copies the limit out: it takes no lock and
  // allocates nothing, so it is safe here though signal-safety(7) does not list it.
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    limitBytes = limit.rlim_cur;
  }
  char report[256];
  writeError(report, formatCrashReport(report, sizeof report, signal, limitBytes));
  if (desktopRestore != nullptr) {
    // A second crash inside the restore ends the process by its default action, unreported:
    // the status is then that second fault's signal, not the first one's.
    const struct sigaction fallback = actionFor(SIG_DFL, 0);
    for (int other : crashSignals) sigaction(other, &fallback, nullptr);
    const struct sigaction limitRestore = actionFor(endRestoreTooLong, SA_ONSTACK);
    sigaction(SIGALRM, &limitRestore, nullptr);
    alarm(desktopRestoreSeconds);
    desktopRestore();
  }
  endWithDefaultAction(signal);
}

extern "C" void endWhileOpening(int signal) {
  writeError("geosandbox: stopped while the window was opening\n");
  endWithDefaultAction(signal);
}

extern "C" void sayStillOpening(int) {
  const int savedErrno = errno;
  writeError(
      "geosandbox: the window is still not open; the X server may be keeping the keyboard for "
      "another full-screen program (Ctrl-C ends the wait)\n");
  errno = savedErrno;
}

// A signal the program was started with ignored (a background job's Ctrl-C) stays ignored.
void guardSignal(int signal, const struct sigaction& handler, struct sigaction& saved) {
  sigaction(signal, nullptr, &saved);
  if (saved.sa_handler == SIG_IGN) return;
  sigaction(signal, &handler, nullptr);
}

}  // namespace

std::size_t formatCrashReport(char* buffer, std::size_t size, int signal,
                              std::uint64_t limitBytes) {
  Writer out{buffer, size, 0};
  put(out, "geosandbox: crashed with ");
  put(out, signalName(signal));
  if (limitBytes == noAddressSpaceLimit) {
    put(out, "; the address space is not limited\n");
  } else {
    put(out, " under an address-space limit of ");
    putNumber(out, limitBytes / (1024 * 1024));
    put(out, " MiB (ulimit -v ");
    putNumber(out, limitBytes / 1024);
    put(out, ")\n");
  }
  if (size > 0) buffer[out.length] = '\0';
  return out.length;
}

void installCrashReport(void (*restoreDesktop)(), unsigned restoreSeconds) {
  desktopRestore = restoreDesktop;
  desktopRestoreSeconds = restoreSeconds;
  // The restore runs on this stack too. Static, since the kernel keeps its address for the
  // whole run.
  alignas(16) static char stackMemory[crashStackBytes];
  useCrashStack(stackMemory, sizeof stackMemory);
  const struct sigaction action = actionFor(reportCrash, SA_ONSTACK | SA_RESETHAND);
  for (int signal : crashSignals) sigaction(signal, &action, nullptr);
}

void useCrashStack(void* memory, std::size_t bytes) {
  stack_t stack = {};
  stack.ss_sp = memory;
  stack.ss_size = bytes;
  sigaltstack(&stack, nullptr);
}

void ignoreBrokenPipes() {
  const struct sigaction ignore = actionFor(SIG_IGN, 0);
  sigaction(SIGPIPE, &ignore, nullptr);
}

WindowOpeningGuard::WindowOpeningGuard(unsigned patienceSeconds) {
  // SA_RESTART restarts the reads and writes the signal interrupts; poll, where Xlib waits
  // for the server, returns EINTR instead, and libxcb, under Xlib, calls it again.
  const struct sigaction end = actionFor(endWhileOpening, SA_RESTART);
  const struct sigaction say = actionFor(sayStillOpening, SA_RESTART);
  guardSignal(SIGINT, end, interrupt_);
  guardSignal(SIGTERM, end, terminate_);
  sigaction(SIGALRM, &say, &alarm_);
  alarm(patienceSeconds);
}

WindowOpeningGuard::~WindowOpeningGuard() {
  alarm(0);
  sigaction(SIGALRM, &alarm_, nullptr);
  sigaction(SIGTERM, &terminate_, nullptr);
  sigaction(SIGINT, &interrupt_, nullptr);
}
