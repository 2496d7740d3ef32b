#include "system/memory_probe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "system/cpu_probe.h"

TEST(MemoryProbe, ReadsMemAvailable) {
  std::istringstream meminfo("MemTotal:  100 kB\nMemFree:  50 kB\nMemAvailable:  1234 kB\n");
  EXPECT_EQ(availableMemoryFrom(meminfo), 1234u * 1024);
  std::istringstream old("MemTotal:  100 kB\nHugePages_Total:  0\nMemFree:  50 kB\n");
  EXPECT_EQ(availableMemoryFrom(old), unlimitedRoom);
}

namespace {

constexpr uint64_t MiB = 1ull << 20;
const std::string v1Unlimited = "9223372036854771712";  // v1's "no limit" with 4 KiB pages

// A process's view of the system, copied from real layouts and cut to the files read.
struct Layout {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files;  // path below the root, content
  std::string directory;                                   // expected cgroup, "" for none
  uint64_t cgroupRoom;
  unsigned processors = 1;  // the processors the process may use
};

std::string mib(uint64_t count) {
  return std::to_string(count * MiB);
}

const std::string v2Mount = "30 1 0:26 / /sys/fs/cgroup rw,nosuid - cgroup2 cgroup2 rw\n";
const std::string systemdApp =
    "sys/fs/cgroup/user.slice/user-1000.slice/user@1000.service/app.slice/app.scope";
const std::string hybridMounts =
    "35 31 0:32 / /sys/fs/cgroup/memory rw,relatime - cgroup cgroup rw,memory\n"
    "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n";

// A status file that allows the processors of `list`.
std::string allowed(const std::string& list) {
  return "Name:\tgeosandbox\nCpus_allowed:\tff\nCpus_allowed_list:\t" + list + "\nVoluntary: 1\n";
}

const std::string v2CpuMount = "30 1 0:26 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n";

std::vector<Layout> layouts() {
  return {
      {"systemd desktop login on v2, the limit on an ancestor, a level with no files between",
       {{"proc/self/cgroup",
         "0::/user.slice/user-1000.slice/user@1000.service/app.slice/app.scope\n"},
        {"proc/self/mountinfo", v2Mount},
        {"sys/fs/cgroup/cgroup.controllers", "cpuset cpu io memory pids\n"},
        {systemdApp + "/memory.max", "max\n"},
        {systemdApp + "/memory.current", mib(300)},
        {"sys/fs/cgroup/user.slice/user-1000.slice/memory.max", mib(2048)},
        {"sys/fs/cgroup/user.slice/user-1000.slice/memory.current", mib(1500)},
        {"sys/fs/cgroup/user.slice/user-1000.slice/memory.stat",
         "anon 1000\nfile 300\nactive_file " + mib(100) + "\ninactive_file " + mib(50) + "\n"},
        {"sys/fs/cgroup/user.slice/memory.max", "max\n"}},
       "/" + systemdApp,
       (2048 - 1500 + 150) * MiB},
      {"container with its own cgroup namespace, a blank in the mount point",
       {{"proc/self/cgroup", "0::/\n"},
        {"proc/self/mountinfo", "30 1 0:26 / /sys/fs/cgroup\\040x ro - cgroup2 cgroup2 rw\n"},
        {"sys/fs/cgroup x/cgroup.controllers", "memory pids\n"},
        {"sys/fs/cgroup x/memory.max", mib(512)},
        {"sys/fs/cgroup x/memory.current", mib(200)},
        {"sys/fs/cgroup x/memory.stat", "active_file " + mib(10) + "\ninactive_file 0\n"}},
       "/sys/fs/cgroup x",
       322 * MiB},
      {"container on v1 without a namespace, moved to a subgroup, a hidden parent's limit",
       {{"proc/self/cgroup", "4:memory:/docker/abc/worker\n3:cpu:/docker/abc\n"},
        {"proc/self/mountinfo",
         "35 31 0:32 /docker/abc /sys/fs/cgroup/memory ro - cgroup cgroup rw,memory\n"},
        {"sys/fs/cgroup/memory/worker/memory.limit_in_bytes", v1Unlimited},
        {"sys/fs/cgroup/memory/worker/memory.usage_in_bytes", mib(64)},
        {"sys/fs/cgroup/memory/worker/memory.stat",
         "total_active_file " + mib(4) + "\nhierarchical_memory_limit " + mib(256) + "\n"},
        {"sys/fs/cgroup/memory/memory.limit_in_bytes", mib(512)},
        {"sys/fs/cgroup/memory/memory.usage_in_bytes", mib(100)},
        {"sys/fs/cgroup/memory/memory.stat",
         "total_active_file " + mib(4) + "\nhierarchical_memory_limit " + mib(256) + "\n"}},
       "/sys/fs/cgroup/memory/worker",
       160 * MiB},
      {"hybrid: memory on v1, the unified hierarchy without it",
       {{"proc/self/cgroup", "5:cpu:/\n4:memory:/jobs/a\n0::/\n"},
        {"proc/self/mountinfo", hybridMounts},
        {"sys/fs/cgroup/unified/cgroup.controllers", "hugetlb\n"},
        {"sys/fs/cgroup/unified/memory.max", mib(1)},
        {"sys/fs/cgroup/memory/jobs/a/memory.limit_in_bytes", mib(800)},
        {"sys/fs/cgroup/memory/jobs/a/memory.usage_in_bytes", mib(700)},
        {"sys/fs/cgroup/memory/jobs/a/memory.stat",
         "total_active_file " + mib(450) + "\ntotal_inactive_file " + mib(20) + "\n"},
        {"sys/fs/cgroup/memory/memory.limit_in_bytes", v1Unlimited},
        {"sys/fs/cgroup/memory/memory.usage_in_bytes", mib(900)}},
       "/sys/fs/cgroup/memory/jobs/a",
       570 * MiB},
      {"no limit anywhere: max at every level",
       {{"proc/self/cgroup", "0::/a\n"},
        {"proc/self/mountinfo", v2Mount},
        {"sys/fs/cgroup/cgroup.controllers", "memory\n"},
        {"sys/fs/cgroup/a/memory.max", "max\n"},
        {"sys/fs/cgroup/a/memory.current", mib(5)}},
       "/sys/fs/cgroup/a",
       unlimitedRoom},
      {"memory.high below memory.max binds; a level without usage counts its child's",
       {{"proc/self/cgroup", "0::/a/b\n"},
        {"proc/self/mountinfo", v2Mount},
        {"sys/fs/cgroup/cgroup.controllers", "memory\n"},
        {"sys/fs/cgroup/a/b/memory.current", mib(40)},
        {"sys/fs/cgroup/a/memory.max", mib(1000)},
        {"sys/fs/cgroup/a/memory.high", mib(100)}},
       "/sys/fs/cgroup/a/b",
       60 * MiB},
      {"a sibling of the mount's root is not below it",
       {{"proc/self/cgroup", "4:memory:/ab/c\n"},
        {"proc/self/mountinfo",
         "35 31 0:32 /a /sys/fs/cgroup/memory ro - cgroup cgroup rw,memory\n"},
        {"sys/fs/cgroup/memory/memory.limit_in_bytes", mib(1)}},
       "",
       unlimitedRoom},
      {"a cgroup namespace that keeps the host's mount: the root above it, found by process id",
       {{"proc/self/cgroup", "0::/\n"},
        {"proc/self/stat", "4242 (geosandbox) R 1 4242\n"},
        {"proc/self/mountinfo",
         "30 1 0:26 /../.. /sys/fs/cgroup rw,nosuid shared:4 - cgroup2 cgroup2 rw,nsdelegate\n"},
        {"sys/fs/cgroup/cgroup.controllers", "cpu memory pids\n"},
        {"sys/fs/cgroup/init.scope/cgroup.procs", "1\n"},
        {"sys/fs/cgroup/system.slice/a.service/cgroup.procs", "42420\n"},
        {"sys/fs/cgroup/user.slice/run-u1.scope/cgroup.procs", "4241\n4242\n"},
        {"sys/fs/cgroup/user.slice/run-u1.scope/memory.max", mib(800)},
        {"sys/fs/cgroup/user.slice/run-u1.scope/memory.current", mib(100)},
        {"sys/fs/cgroup/user.slice/run-u1.scope/memory.stat", "active_file 0\n"}},
       "/sys/fs/cgroup/user.slice/run-u1.scope",
       700 * MiB},
      {"mounts stacked at one place: the last one shows, whatever its root",
       {{"proc/self/cgroup", "0::/docker/abc\n"},
        {"proc/self/mountinfo",
         "30 21 0:26 / /sys/fs/cgroup rw shared:4 - cgroup2 cgroup2 rw\n"
         "41 30 0:26 /docker/abc /sys/fs/cgroup ro master:4 - cgroup2 cgroup2 rw\n"},
        {"sys/fs/cgroup/cgroup.controllers", "memory\n"},
        {"sys/fs/cgroup/memory.max", mib(512)},
        {"sys/fs/cgroup/memory.current", mib(100)}},
       "/sys/fs/cgroup",
       412 * MiB},
      {"a cgroup outside the namespace's root",
       {{"proc/self/cgroup", "0::/../other\n"},
        {"proc/self/mountinfo", v2Mount},
        {"sys/fs/cgroup/cgroup.controllers", "memory\n"},
        {"sys/fs/cgroup/memory.max", mib(1)}},
       "",
       unlimitedRoom},
      {"a list with gaps", {{"proc/self/status", allowed("0-1,4,6-7,9")}}, "", unlimitedRoom, 6},
      {"a list that does not parse", {{"proc/self/status", allowed("0-x")}}, "", unlimitedRoom, 1},
      {"v2: a quota of one and a half processors, rounded up",
       {{"proc/self/status", allowed("0-7")},
        {"proc/self/cgroup", "0::/app\n"},
        {"proc/self/mountinfo", v2CpuMount},
        {"sys/fs/cgroup/cgroup.controllers", "cpu memory\n"},
        {"sys/fs/cgroup/app/cpu.max", "150000 100000\n"}},
       "/sys/fs/cgroup/app",
       unlimitedRoom,
       2},
      {"v2: the tightest level counts, a quota below one still leaves one",
       {{"proc/self/status", allowed("0-7")},
        {"proc/self/cgroup", "0::/a/b\n"},
        {"proc/self/mountinfo", v2CpuMount},
        {"sys/fs/cgroup/cgroup.controllers", "cpu\n"},
        {"sys/fs/cgroup/a/b/cpu.max", "max 100000\n"},
        {"sys/fs/cgroup/a/cpu.max", "50000 100000\n"}},
       "",
       unlimitedRoom,
       1},
      {"v2: a cpu.max the root's controllers do not enable limits nothing",
       {{"proc/self/status", allowed("0-1")},
        {"proc/self/cgroup", "0::/app\n"},
        {"proc/self/mountinfo", v2CpuMount},
        {"sys/fs/cgroup/cgroup.controllers", "memory\n"},
        {"sys/fs/cgroup/app/cpu.max", "50000 100000\n"}},
       "/sys/fs/cgroup/app",
       unlimitedRoom,
       2},
      {"v1's cpu,cpuacct hierarchy with a quota of two, another group unlimited",
       {{"proc/self/status", allowed("0-15")},
        {"proc/self/cgroup", "3:cpu,cpuacct:/docker/abc\n2:memory:/docker/abc\n"},
        {"proc/self/mountinfo",
         "35 31 0:32 /docker/abc /sys/fs/cgroup/cpu,cpuacct ro - cgroup cgroup rw,cpu,cpuacct\n"},
        {"sys/fs/cgroup/cpu,cpuacct/cpu.cfs_quota_us", "200000\n"},
        {"sys/fs/cgroup/cpu,cpuacct/cpu.cfs_period_us", "100000\n"}},
       "",
       unlimitedRoom,
       2},
  };
}

// Writes each file below `root`. A path that would leave the root (absolute, where
// std::filesystem's `/` drops the left side, or climbing with "..") is refused before
// anything is written: a fake tree must never land in the real /sys or /proc.
void writeTree(const std::filesystem::path& root,
               const std::vector<std::pair<std::string, std::string>>& files) {
  for (const auto& [path, content] : files) {
    const std::filesystem::path relative(path);
    const bool climbs = std::any_of(relative.begin(), relative.end(),
                                    [](const std::filesystem::path& part) { return part == ".."; });
    if (path.empty() || relative.is_absolute() || climbs) {
      throw std::invalid_argument("a fake tree's path leaves its root: " + path);
    }
  }
  for (const auto& [path, content] : files) {
    const std::filesystem::path file = root / path;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << content;
  }
}

std::filesystem::path treeRoot() {
  return std::filesystem::path(testing::TempDir()) / ("memory-room-" + std::to_string(getpid()));
}

}  // namespace

TEST(MemoryProbe, FakeTreesStayBelowTheirRoot) {
  const std::filesystem::path root = treeRoot();
  for (const char* path : {"/sys/fs/cgroup/memory.max", "sys/../../memory.max", "..", ""}) {
    EXPECT_THROW(writeTree(root, {{"ok", ""}, {path, "max"}}), std::invalid_argument) << path;
    EXPECT_FALSE(std::filesystem::exists(root / "ok")) << "nothing written before the refusal";
  }
}

TEST(MemoryProbe, ReadsTheCgroupRoomAndProcessorsOfEachLayout) {
  for (const Layout& layout : layouts()) {
    SCOPED_TRACE(layout.name);
    const std::string root = treeRoot().string();
    std::filesystem::remove_all(root);
    writeTree(root, layout.files);
    const std::optional<Cgroup> cgroup = findMemoryCgroup(root);
    EXPECT_EQ(cgroup ? cgroup->directory : "", layout.directory);
    EXPECT_EQ(readMemoryRoom(root).cgroup, layout.cgroupRoom);
    EXPECT_EQ(readUsableProcessors(root), layout.processors);
    std::filesystem::remove_all(root);
  }
}
