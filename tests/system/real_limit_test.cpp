// Refinement under limits the kernel enforces: each check runs in a child process, since
// the limit is the process's own, and says which condition failed.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "mesh/refine.h"
#include "system/memory_probe.h"
#include "tests/mesh/mesh_fixtures.h"

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

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
#define GEOSANDBOX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GEOSANDBOX_ASAN 1
#endif
#endif

#ifndef GEOSANDBOX_ASAN
namespace {

std::size_t addressSpaceBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
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

}  // namespace
#endif

TEST(RealLimit, StepBeyondTheAddressSpaceLimitChangesNothing) {
#ifdef GEOSANDBOX_ASAN
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  EXPECT_EQ(inChildProcess(stepUnderAddressSpaceLimit), "");
#endif
}

namespace {

bool writeFile(const std::string& path, const std::string& text) {
  std::ofstream file(path);
  file << text;
  file.flush();
  return static_cast<bool>(file);
}

bool listsWord(const std::string& path, const std::string& word) {
  std::ifstream file(path);
  for (std::string listed; file >> listed;) {
    if (listed == word) return true;
  }
  return false;
}

// On cgroup v2 a child gets the memory controller only where its parent's subtree_control
// enables it, and a group that holds processes cannot enable it (the root excepted). So
// where the process's own group lacks it, the process moves into a leaf of its own first,
// as a delegated group's owner does; that works where it is alone in its group (run by
// `systemd-run --scope -p Delegate=yes`). Everything is undone when the test ends.
class MemoryDelegation {
 public:
  explicit MemoryDelegation(const MemoryCgroup& own) : own_(own.directory) {
    if (!own.version2 || listsWord(own_ + "/cgroup.subtree_control", "memory")) return;
    enabled_ = writeFile(own_ + "/cgroup.subtree_control", "+memory");
    if (enabled_) return;
    const std::string self = std::to_string(getpid());
    std::ifstream procs(own_ + "/cgroup.procs");
    std::string first, second;
    procs >> first >> second;
    if (first != self || !second.empty()) {
      reason_ = own_ +
                " holds other processes, so it cannot give its children the memory "
                "controller; run the test alone in a delegated cgroup";
      return;
    }
    leaf_ = own_ + "/geosandbox-test-leaf-" + self;
    if (mkdir(leaf_.c_str(), 0755) != 0 || !writeFile(leaf_ + "/cgroup.procs", self)) {
      reason_ = "cannot move into a leaf below " + own_;
      return;
    }
    enabled_ = writeFile(own_ + "/cgroup.subtree_control", "+memory");
    if (!enabled_) reason_ = "cannot enable the memory controller below " + own_;
  }
  ~MemoryDelegation() {
    if (enabled_) writeFile(own_ + "/cgroup.subtree_control", "-memory");
    if (leaf_.empty()) return;
    writeFile(own_ + "/cgroup.procs", std::to_string(getpid()));
    rmdir(leaf_.c_str());
  }
  MemoryDelegation(const MemoryDelegation&) = delete;
  MemoryDelegation& operator=(const MemoryDelegation&) = delete;
  const std::string& reason() const { return reason_; }  // empty where children can be limited

 private:
  std::string own_, leaf_, reason_;
  bool enabled_ = false;
};

// A fresh memory cgroup below the process's own, limited to `bytes`; empty when this
// system or user cannot make one.
std::string limitedCgroup(const MemoryCgroup& own, uint64_t bytes, std::string& reason) {
  const std::string directory = own.directory + "/geosandbox-test-" + std::to_string(getpid());
  if (mkdir(directory.c_str(), 0755) != 0 && errno != EEXIST) {
    reason = "cannot create a cgroup below " + own.directory;
    return "";
  }
  const std::string limitFile =
      directory + (own.version2 ? "/memory.max" : "/memory.limit_in_bytes");
  if (!writeFile(limitFile, std::to_string(bytes))) {
    rmdir(directory.c_str());
    reason = "cannot set " + limitFile;
    return "";
  }
  return directory;
}

const std::string cannotJoin = "cannot move into the limited cgroup";

// Inside the limited cgroup, with the room read as the program reads it before each
// step: steps until one is refused, which must change nothing.
std::string stepUntilRefused(const std::string& cgroup) {
  if (!writeFile(cgroup + "/cgroup.procs", std::to_string(getpid()))) return cannotJoin;
  Stepper stepper;
  for (int step = 1; step <= 24; ++step) {
    const uint64_t before = meshHash(stepper.mesh);
    const Refinement refinementBefore = stepper.refinement;
    stepper.room = readMemoryRoom("/");
    const std::string printed = stepper.step();
    if (printed != refusedLine) continue;
    if (step < 10) return "refused at step " + std::to_string(step) + ", long before the limit";
    return refusalFaults(stepper, printed, before, refinementBefore, readMemoryRoom("/"));
  }
  return "no step was refused";
}

}  // namespace

// Without the check the kernel's out-of-memory killer ends the process instead.
TEST(RealLimit, StepBeyondTheMemoryCgroupLimitIsRefused) {
  const std::optional<MemoryCgroup> own = findMemoryCgroup("/");
  if (!own) GTEST_SKIP() << "no memory cgroup is mounted";
  const MemoryDelegation delegation(*own);
  if (!delegation.reason().empty()) GTEST_SKIP() << delegation.reason();
  std::string reason;
  const std::string cgroup = limitedCgroup(*own, 96ull << 20, reason);
  if (cgroup.empty()) GTEST_SKIP() << reason;
  const std::string said = inChildProcess([&] { return stepUntilRefused(cgroup); });
  rmdir(cgroup.c_str());
  if (said == cannotJoin) GTEST_SKIP() << "cannot move into " << cgroup;
  EXPECT_EQ(said, "");
}
