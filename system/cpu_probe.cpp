// Reading the processors the process may use: its affinity list and its cgroup's quota.
#include "system/cpu_probe.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <new>
#include <optional>
#include <sstream>

#include "system/memory_probe.h"

namespace {

// "Cpus_allowed_list:\t0-3,8" from the status file, or nothing.
std::optional<std::string> allowedList(const std::string& prefix) {
  std::ifstream status(prefix + "/proc/self/status");
  const std::string name = "Cpus_allowed_list:";
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, name.size(), name) != 0) continue;
    std::istringstream fields(line.substr(name.size()));
    std::string list;
    fields >> list;
    return list;
  }
  return std::nullopt;
}

// One level's quota in whole processors, rounded up; nothing for no quota ("max", -1, or no
// files). A quota below a whole processor still leaves one.
std::optional<uint64_t> processorsOfQuota(const std::string& level, bool version2) {
  int64_t quota = -1;
  int64_t period = 0;
  if (version2) {
    std::ifstream max(level + "/cpu.max");
    if (!(max >> quota >> period)) return std::nullopt;  // "max 100000" reads no number
  } else {
    std::ifstream quotaFile(level + "/cpu.cfs_quota_us");
    std::ifstream periodFile(level + "/cpu.cfs_period_us");
    if (!(quotaFile >> quota) || !(periodFile >> period)) return std::nullopt;
  }
  if (quota <= 0 || period <= 0) return std::nullopt;
  const auto whole = static_cast<uint64_t>((quota + period - 1) / period);
  return std::max<uint64_t>(whole, 1);
}

// The tightest quota from the process's cgroup up to the highest level the mount shows: a
// parent's quota binds its children too.
std::optional<uint64_t> processorsOfQuotas(const std::string& prefix, const Cgroup& cgroup) {
  std::optional<uint64_t> tightest;
  for (std::string level = cgroup.directory;;) {
    if (const std::optional<uint64_t> quota = processorsOfQuota(prefix + level, cgroup.version2)) {
      tightest = std::min(tightest.value_or(*quota), *quota);
    }
    if (level.size() <= cgroup.top.size()) break;
    level.resize(level.find_last_of('/'));
  }
  return tightest;
}

}  // namespace

unsigned processorsInList(const std::string& list) {
  uint64_t count = 0;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    std::istringstream range(item);
    uint64_t first = 0;
    uint64_t last = 0;
    char dash = 0;
    if (!(range >> first)) return 0;
    if (range >> dash) {
      if (dash != '-' || !(range >> last) || last < first) return 0;
    } else {
      last = first;
    }
    count += last - first + 1;
    if (count > std::numeric_limits<unsigned>::max()) return 0;
  }
  return static_cast<unsigned>(count);
}

unsigned readUsableProcessors(const std::string& root) {
  try {
    std::string prefix = root;
    while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
    const std::optional<std::string> list = allowedList(prefix);
    unsigned processors = list ? processorsInList(*list) : 0;
    if (processors == 0) return 1;
    if (const std::optional<Cgroup> cgroup = findCgroup(prefix, "cpu")) {
      if (const std::optional<uint64_t> quota = processorsOfQuotas(prefix, *cgroup)) {
        processors = static_cast<unsigned>(std::min<uint64_t>(processors, *quota));
      }
    }
    return processors;
  } catch (const std::bad_alloc&) {
    return 1;
  }
}
