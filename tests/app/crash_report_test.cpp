#include "app/crash_report.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

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

// A child process crashes for real: the line reaches standard error and the status is
// the signal's own, as without the handler.
TEST(CrashReport, ReportsAndEndsWithTheSignalsStatus) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = 4ull << 30;
    setrlimit(RLIMIT_AS, &limit);
    installCrashReport();
    raise(SIGSEGV);
    _exit(0);
  }
  close(pipeEnds[1]);
  char buffer[512];
  const ssize_t length = read(pipeEnds[0], buffer, sizeof buffer);
  close(pipeEnds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);
  ASSERT_GT(length, 0);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(length)),
            "geosandbox: crashed with a segmentation fault (SIGSEGV) under an address-space "
            "limit of 4096 MiB (ulimit -v 4194304)\n");
}

}  // namespace
