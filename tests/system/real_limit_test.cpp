// Refinement under an address-space limit the kernel enforces: the check runs in a child
// process, since the limit is the process's own, and says which condition failed. A memory
// cgroup's limit is tried where a real kernel sets it, by CI's boot of Debian 13's kernel.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "mesh/array.h"
#include "mesh/refine.h"
#include "tests/mesh/mesh_fixtures.h"

#if defined(__SANITIZE_ADDRESS__)
#define GEOSANDBOX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GEOSANDBOX_ASAN 1
#endif
#endif

// Under the address sanitizer the test skips, and nothing below is used.
#ifndef GEOSANDBOX_ASAN
namespace {

const std::string refusedLine = "Not enough memory for the next refinement step\n";

// Runs `check` in a child process and returns what it said: empty when everything held,
// the failed condition otherwise, or how the child ended where it did not end by itself.
std::string inChildProcess(const std::function<std::string()>& check) {
  int channel[2];
  if (pipe(channel) != 0) return "no pipe to the child";
  const pid_t child = fork();
  if (child < 0) return "cannot fork";
  if (child == 0) {
    close(channel[0]);
    const std::string said = check();
    const ssize_t written = write(channel[1], said.data(), said.size());
    _exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
  }
  close(channel[1]);
  std::string said;
  char buffer[256];
  for (ssize_t count; (count = read(channel[0], buffer, sizeof buffer)) > 0;) {
    said.append(buffer, static_cast<std::size_t>(count));
  }
  close(channel[0]);
  int status = 0;
  if (waitpid(child, &status, 0) != child) return "lost the child";
  if (WIFSIGNALED(status))
    return "the child was killed by signal " + std::to_string(WTERMSIG(status));
  return said;
}

// What a refusal must leave: the mesh, the refinement, and the split key either splits
// or says the same line.
std::string refusalFaults(Stepper& stepper, const std::string& printed, uint64_t hashBefore,
                          const Refinement& refinementBefore, const MemoryRoom& room) {
  if (printed != refusedLine) return "the step printed: " + printed;
  if (meshHash(stepper.mesh) != hashBefore) return "the refused step changed the mesh";
  if (stepper.refinement.splitRanges != refinementBefore.splitRanges ||
      stepper.refinement.splitPhase != refinementBefore.splitPhase) {
    return "the refused step changed the refinement";
  }
  std::ostringstream splitOutput;
  splitEdgeIfRoom(stepper.mesh, splitKeyEdge, room, splitOutput);
  if (!splitOutput.str().empty() && splitOutput.str() != printed) {
    return "the split key printed: " + splitOutput.str();
  }
  return sphereFaults(stepper.mesh);
}

std::size_t addressSpaceBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * memoryPageBytes();
}

// The room admits the step, the memory itself is not there: the reservation fails, gives
// back what it had, and the same step succeeds once the memory is there.
std::string stepUnderAddressSpaceLimit() {
  Stepper stepper;
  stepper.steps(11);
  const uint64_t before = meshHash(stepper.mesh);
  const Refinement refinementBefore = stepper.refinement;
  const std::size_t facesBefore = stepper.mesh.faces.size();
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return "cannot read RLIMIT_AS";
  const rlim_t unlimited = limit.rlim_cur;
  // The next step needs about 56 bytes for each of the faces it adds.
  limit.rlim_cur = addressSpaceBytes() + facesBefore * 56 / 4;
  if (setrlimit(RLIMIT_AS, &limit) != 0) return "cannot set RLIMIT_AS";
  const std::string printed = stepper.step();
  const std::string faults =
      refusalFaults(stepper, printed, before, refinementBefore, MemoryRoom{});
  limit.rlim_cur = unlimited;
  if (setrlimit(RLIMIT_AS, &limit) != 0) return "cannot lift RLIMIT_AS";
  if (!faults.empty()) return faults;
  // The split key may have split meanwhile: the step only has to succeed.
  if (stepper.step().find("Face count: ") == std::string::npos) {
    return "the step failed once the memory was there";
  }
  return sphereFaults(stepper.mesh);
}

// Threads asked for where the address space has room for the step and not for their stacks:
// the check runs on the threads it can start, down to the calling one alone, and prints
// what one thread prints, nothing more.
std::string checkWhereThreadsCannotBeHad() {
  Stepper stepper;
  stepper.steps(9);
  Stepper alone = stepper;
  const std::string printedAlone = alone.step();
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return "cannot read RLIMIT_AS";
  const rlim_t unlimited = limit.rlim_cur;
  limit.rlim_cur = addressSpaceBytes() + bytesOfNextStep(stepper.mesh, stepper.refinement) +
                   (sharedPassStackBytes / 2);
  if (setrlimit(RLIMIT_AS, &limit) != 0) return "cannot set RLIMIT_AS";
  std::ostringstream out;
  out.precision(19);
  const StepSplit split = splitForStep(stepper.mesh, stepper.refinement, MemoryRoom{}, out);
  const StepCheck check = checkStep(stepper.mesh, split, out, nullptr, StepThreads{8});
  printStepResult(stepper.mesh, check, out);
  limit.rlim_cur = unlimited;
  if (setrlimit(RLIMIT_AS, &limit) != 0) return "cannot lift RLIMIT_AS";
  if (check.threads != 1) return "the check ran on " + std::to_string(check.threads) + " threads";
  if (out.str() != printedAlone) return "the step printed: " + out.str();
  if (!sameRecords(stepper.mesh, alone.mesh)) return "the records differ";
  return "";
}

}  // namespace
#endif

TEST(RealLimit, StepBeyondTheAddressSpaceLimitChangesNothing) {
#ifdef GEOSANDBOX_ASAN
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  EXPECT_EQ(inChildProcess(stepUnderAddressSpaceLimit), "");
#endif
}

TEST(RealLimit, CheckWhereThreadsCannotBeHadPrintsWhatOneThreadPrints) {
#ifdef GEOSANDBOX_ASAN
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  EXPECT_EQ(inChildProcess(checkWhereThreadsCannotBeHad), "");
#endif
}
