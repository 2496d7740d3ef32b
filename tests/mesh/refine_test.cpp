#include "mesh/refine.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mesh/memory_room.h"
#include "tests/mesh/mesh_fixtures.h"

namespace {

std::string lastLine(const std::string& text) {
  const std::size_t end = text.find_last_of('\n');
  const std::size_t start = text.find_last_of('\n', end - 1);
  return text.substr(start + 1, end - start - 1);
}

std::vector<std::string> goldenLines() {
  std::ifstream file(REFINEMENT_GOLDEN_FILE);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::string rangesText(const std::vector<int32_t>& ranges) {
  std::string text;
  for (int32_t r : ranges) text += (text.empty() ? "" : ",") + std::to_string(r);
  return text;
}

}  // namespace

TEST(RefineStep, FirstFiveStepsCountsRangesAndPhase) {
  struct Expected {
    std::size_t vertices, edges, faces;
    std::vector<int32_t> ranges;
    int32_t phase;
  };
  const Expected table[] = {
      {32, 180, 60, {0, 60, 180}, 0},
      {62, 360, 120, {0, 60, 180, 360}, 1},
      {122, 720, 240, {0, 60, 180, 360, 720}, 0},
      {242, 1440, 480, {0, 60, 180, 360, 720, 1440}, 1},
      {482, 2880, 960, {0, 60, 180, 360, 720, 1440, 2880}, 0},
  };
  Stepper stepper;
  for (const Expected& expected : table) {
    const std::string printed = stepper.step();
    EXPECT_EQ(stepper.mesh.vertices.size(), expected.vertices);
    EXPECT_EQ(stepper.mesh.edges.size(), expected.edges);
    EXPECT_EQ(stepper.mesh.faces.size(), expected.faces);
    EXPECT_EQ(stepper.refinement.splitRanges, expected.ranges);
    EXPECT_EQ(stepper.refinement.splitPhase, expected.phase);
    EXPECT_EQ(lastLine(printed), "Face count: " + std::to_string(expected.faces));
  }
}

// The golden file holds the independent model's output: the printed lines digit for
// digit, and a hash of every record, so the mesh matches the model record for record.
TEST(RefineStep, MatchesTheModelDigitForDigitAndRecordForRecord) {
  const std::vector<std::string> golden = goldenLines();
  ASSERT_FALSE(golden.empty()) << "cannot read " << REFINEMENT_GOLDEN_FILE;
  std::vector<std::string> produced;
  Stepper stepper;
  int step = 0;
  for (std::size_t line = 0; line < golden.size() && golden[line].rfind("step ", 0) == 0;
       line += 6) {
    ++step;
    produced.push_back("step " + std::to_string(step));
    std::istringstream printed(stepper.step());
    for (std::string text; std::getline(printed, text);) produced.push_back(text);
    produced.push_back("counts " + std::to_string(stepper.mesh.vertices.size()) + " " +
                       std::to_string(stepper.mesh.edges.size()) + " " +
                       std::to_string(stepper.mesh.faces.size()) + " phase " +
                       std::to_string(stepper.refinement.splitPhase) + " ranges " +
                       rangesText(stepper.refinement.splitRanges));
    produced.push_back("hash " + hexHash(meshHash(stepper.mesh)));
  }
  EXPECT_GE(step, 8);
  Mesh split = icosahedron();
  split.splitEdge(10);
  produced.push_back("splitEdge 10");
  produced.push_back("counts " + std::to_string(split.vertices.size()) + " " +
                     std::to_string(split.edges.size()) + " " + std::to_string(split.faces.size()));
  produced.push_back("hash " + hexHash(meshHash(split)));
  EXPECT_EQ(produced, golden);
}

TEST(RefineStep, EveryStepLeavesAClosedOutwardUnitSphereMesh) {
  Stepper stepper;
  for (int step = 1; step <= 7; ++step) {
    SCOPED_TRACE(step);
    stepper.step();
    EXPECT_EQ(sphereFaults(stepper.mesh), "");
    for (std::size_t v = 12; v < stepper.mesh.vertices.size(); ++v) {
      const Vector3 p = stepper.mesh.position(static_cast<int32_t>(v));
      ASSERT_NEAR(length(p), 1.0, 1e-15) << v;
    }
  }
}

TEST(SplitEdge, AddsOneVertexSixEdgesTwoFacesAroundTheMidpoint) {
  Mesh mesh = icosahedron();
  EXPECT_EQ(mesh.splitEdge(10), 21);
  EXPECT_EQ(mesh.vertices.size(), 13u);
  EXPECT_EQ(mesh.edges.size(), 66u);
  EXPECT_EQ(mesh.faces.size(), 22u);
  EXPECT_EQ(sphereFaults(mesh), "");

  // Either direction of the pair splits at the same point.
  Mesh other = icosahedron();
  other.splitEdge(11);
  EXPECT_EQ(sphereFaults(other), "");
  const Vector3 a = mesh.position(12);
  const Vector3 b = other.position(12);
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.z, b.z);

  EXPECT_THROW(mesh.splitEdge(66), std::out_of_range);
}

TEST(RefineStep, FailedValidationPausesForOneCharacterThenPrintsStatistics) {
  Stepper stepper;
  stepper.mesh.vertices.at(0).edge = 0;     // ends at vertex 1, not 0
  stepper.refinement.splitRanges = {0, 0};  // an empty range: nothing to split
  std::ostringstream out;
  out.precision(19);
  std::istringstream in("  xy");
  refineStep(stepper.mesh, stepper.refinement, out, in);
  EXPECT_EQ(in.get(), 'y');  // blanks skipped, one character taken
  const std::string printed = out.str();
  EXPECT_EQ(printed.rfind("pass1:Vertex refers to edge that does not refer to vertex\n"
                          "Max/min area ratio=",
                          0),
            0u);
  EXPECT_EQ(lastLine(printed), "Face count: 20");
  EXPECT_EQ(stepper.refinement.splitPhase, 1);

  // At the end of input the read returns at once and the step still finishes.
  stepper.refinement.splitRanges = {0, 0};
  stepper.refinement.splitPhase = 0;
  EXPECT_EQ(lastLine(stepper.step()), "Face count: 20");
}

TEST(RefineStep, BrokenMeshInTheFirstStepIsFatal) {
  Stepper stepper;
  stepper.mesh.addVertex(Vertex{0, 0, 0, 0});  // a stray vertex the face splits never touch
  std::ostringstream out;
  std::istringstream in;
  EXPECT_THROW(refineStep(stepper.mesh, stepper.refinement, out, in), std::runtime_error);
  EXPECT_EQ(out.str(), "pass1:Vertex refers to edge that does not refer to vertex\n");
}

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
  return pages * memoryPageBytes();
}

// Runs in a child process: a step or a split that cannot get its memory reports it and
// changes nothing, and the same step succeeds once the memory is there.
int stepUnderAddressSpaceLimit() {
  Stepper stepper;
  for (int step = 0; step < 11; ++step) stepper.step();
  const uint64_t before = meshHash(stepper.mesh);
  const Refinement refinementBefore = stepper.refinement;
  const std::size_t facesBefore = stepper.mesh.faces.size();

  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return 10;
  const rlim_t unlimited = limit.rlim_cur;
  // The next step needs about 56 bytes for each of the faces it adds.
  limit.rlim_cur = addressSpaceBytes() + facesBefore * 56 / 4;
  if (setrlimit(RLIMIT_AS, &limit) != 0) return 11;
  const std::string refused = stepper.step();
  std::ostringstream splitOutput;
  splitEdgeIfRoom(stepper.mesh, splitKeyEdge, splitOutput);
  limit.rlim_cur = unlimited;
  if (setrlimit(RLIMIT_AS, &limit) != 0) return 12;

  if (refused != "Not enough memory for the next refinement step\n") return 13;
  if (meshHash(stepper.mesh) != before) return 14;
  if (stepper.refinement.splitRanges != refinementBefore.splitRanges) return 15;
  if (stepper.refinement.splitPhase != refinementBefore.splitPhase) return 16;
  if (splitOutput.str() != refused) return 19;
  if (lastLine(stepper.step()) != "Face count: " + std::to_string(2 * facesBefore)) return 17;
  if (!sphereFaults(stepper.mesh).empty()) return 18;
  return 0;
}

}  // namespace
#endif

TEST(RefineStep, StepTooLargeForMemoryChangesNothing) {
#ifdef GEOSANDBOX_ASAN
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(stepUnderAddressSpaceLimit());
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

namespace {

constexpr int cannotJoinCgroup = 77;

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

// Runs in a child process inside the limited cgroup: steps until one is refused, which
// must change nothing; the split key after it either splits or says the same.
int stepUntilRefused(const std::string& cgroup) {
  if (!writeFile(cgroup + "/cgroup.procs", std::to_string(getpid()))) return cannotJoinCgroup;
  Stepper stepper;
  for (int step = 1; step <= 24; ++step) {
    const uint64_t before = meshHash(stepper.mesh);
    const Refinement refinementBefore = stepper.refinement;
    const std::string printed = stepper.step();
    if (printed != "Not enough memory for the next refinement step\n") continue;
    if (step < 10) return 30;  // refused long before the limit
    if (meshHash(stepper.mesh) != before) return 31;
    if (stepper.refinement.splitRanges != refinementBefore.splitRanges) return 32;
    if (stepper.refinement.splitPhase != refinementBefore.splitPhase) return 33;
    std::ostringstream splitOutput;
    splitEdgeIfRoom(stepper.mesh, splitKeyEdge, splitOutput);
    if (!splitOutput.str().empty() && splitOutput.str() != printed) return 34;
    return sphereFaults(stepper.mesh).empty() ? 0 : 35;
  }
  return 36;  // never refused
}

}  // namespace

// Without the check the kernel's out-of-memory killer ends the process instead.
TEST(RefineStep, StepBeyondTheMemoryCgroupLimitIsRefused) {
  const std::optional<MemoryCgroup> own = findMemoryCgroup("/");
  if (!own) GTEST_SKIP() << "no memory cgroup is mounted";
  const MemoryDelegation delegation(*own);
  if (!delegation.reason().empty()) GTEST_SKIP() << delegation.reason();
  std::string reason;
  const std::string cgroup = limitedCgroup(*own, 96ull << 20, reason);
  if (cgroup.empty()) GTEST_SKIP() << reason;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(stepUntilRefused(cgroup));
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  rmdir(cgroup.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  if (WEXITSTATUS(status) == cannotJoinCgroup) GTEST_SKIP() << "cannot move into " << cgroup;
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
