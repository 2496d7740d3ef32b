#include "app/signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "mesh/shared_pass.h"

namespace {

std::string report(int signal, std::uint64_t limitBytes) {
  char buffer[256];
  const std::size_t length = formatCrashReport(buffer, sizeof buffer, signal, limitBytes);
  EXPECT_EQ(buffer[length], '\0');
  return std::string(buffer, length);
}

TEST(CrashReport, NamesTheSignalAndTheAddressSpaceLimit) {
  EXPECT_EQ(report(SIGSEGV, 600ull << 20),
            "geosandbox: crashed with a segmentation fault (SIGSEGV) under an address-space "
            "limit of 600 MiB (ulimit -v 614400)\n");
  EXPECT_EQ(report(SIGBUS, noAddressSpaceLimit),
            "geosandbox: crashed with a bus error (SIGBUS); the address space is not limited\n");
  // Large limits print in full, not cut at 32 bits.
  EXPECT_NE(report(SIGABRT, 8ull << 40).find("8388608 MiB (ulimit -v 8589934592)"),
            std::string::npos);
}

TEST(CrashReport, CutToTheBufferAndStillTerminated) {
  char buffer[12];
  const std::size_t length = formatCrashReport(buffer, sizeof buffer, SIGSEGV, 0);
  EXPECT_EQ(length, 11u);
  EXPECT_EQ(std::string(buffer), "geosandbox:");
}

struct ChildEnd {
  int signal;  // the signal that ended it; 0 where it exited
  std::string error;
};

// Runs `crash` in a child process, its standard error in a pipe: the report reaches it, and
// the status is the signal's own, as without a handler.
ChildEnd inChild(void (*crash)()) {
  int pipeEnds[2];
  EXPECT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    crash();
    _exit(0);
  }
  close(pipeEnds[1]);
  std::string error;
  char buffer[512];
  for (ssize_t length; (length = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    error.append(buffer, static_cast<std::size_t>(length));
  }
  close(pipeEnds[0]);
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  return {WIFSIGNALED(status) ? WTERMSIG(status) : 0, error};
}

// Deep enough to overflow any stack; the frame's array keeps it from becoming a loop.
int recurse(int depth) {
  if (depth == INT_MAX) return 0;
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  return recurse(depth + 1) + frame[0];
}

// The report for `signal` under this process's limit: a limit set in the child would leave
// the address sanitizer no room to map what it needs when the handler ends.
std::string reportOf(int signal) {
  rlimit limit{};
  getrlimit(RLIMIT_AS, &limit);
  return report(signal, limit.rlim_cur == RLIM_INFINITY ? noAddressSpaceLimit : limit.rlim_cur);
}

TEST(CrashReport, ReportsAndEndsWithTheSignalsStatus) {
  struct Case {
    const char* what;
    void (*crash)();
    int signal;
    std::string error;
  };
  const Case cases[] = {
      {"a fault",
       [] {
         installCrashReport();
         raise(SIGSEGV);
       },
       SIGSEGV, reportOf(SIGSEGV)},
      {"a stack that cannot grow",
       [] {
         installCrashReport();
         recurse(0);
       },
       SIGSEGV, reportOf(SIGSEGV)},
      {"a stack that cannot grow on a step's further thread",
       [] {
         installCrashReport();
         // The calling thread keeps the first chunk, so the further thread takes the second.
         struct Overflowing : SharedPass {
           bool checkChunk(std::size_t, std::size_t, unsigned thread) override {
             if (thread == 0) {
               for (;;) pause();
             }
             return recurse(0) == 0;
           }
         } pass;
         runSharedPass(pass, 2, StepThreads{2, useCrashStack, crashStackBytes, 1}, nullptr, "");
       },
       SIGSEGV, reportOf(SIGSEGV)},
      {"the desktop restored first",
       [] {
         installCrashReport([] { (void)!write(STDERR_FILENO, "restored\n", 9); });
         abort();
       },
       SIGABRT, reportOf(SIGABRT) + "restored\n"},
      {"a restore that never returns",
       [] {
         installCrashReport(
             [] {
               for (;;) pause();
             },
             1);
         raise(SIGBUS);
       },
       SIGBUS, reportOf(SIGBUS)},
  };
  for (const Case& c : cases) {
    const ChildEnd end = inChild(c.crash);
    EXPECT_EQ(end.signal, c.signal) << c.what;
    EXPECT_EQ(end.error, c.error) << c.what;
  }
}

}  // namespace
