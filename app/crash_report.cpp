#include "app/crash_report.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const int reportedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

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

void reportAndDie(int signal) {
  rlimit limit{};
  std::uint64_t limitBytes = noAddressSpaceLimit;
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    limitBytes = limit.rlim_cur;
  }
  char report[256];
  const std::size_t length = formatCrashReport(report, sizeof report, signal, limitBytes);
  ssize_t written = write(STDERR_FILENO, report, length);
  (void)written;  // nothing is left to do about a standard error that cannot be written
  endWithDefaultAction(signal);
}

}  // namespace

void endWithDefaultAction(int signal) {
  struct sigaction fallback = {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  raise(signal);
}

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

void installCrashReport() {
  struct sigaction action = {};
  action.sa_handler = reportAndDie;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (int signal : reportedSignals) sigaction(signal, &action, nullptr);
}
