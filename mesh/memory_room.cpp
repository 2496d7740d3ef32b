// Reading the memory room: the kernel's own files, parsed with the standard library.
#include "mesh/memory_room.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

uint64_t roomBetween(uint64_t limit, uint64_t used) {
  return limit > used ? limit - used : 0;
}

// The first number in a file, or `missing` when there is none ("max" in cgroup v2).
uint64_t numberIn(const std::string& path, uint64_t missing) {
  std::ifstream file(path);
  uint64_t value = 0;
  return file >> value ? value : missing;
}

// The value of `key` in a memory.stat file, 0 when absent.
uint64_t statValue(const std::string& path, const std::string& key) {
  std::ifstream file(path);
  std::string name;
  uint64_t value = 0;
  while (file >> name >> value) {
    if (name == key) return value;
  }
  return 0;
}

// Inactive file pages are given back before the cgroup runs out, so they count as room.
uint64_t roomInCgroup(const std::string& directory, bool version2) {
  const std::string limitFile = version2 ? "/memory.max" : "/memory.limit_in_bytes";
  const std::string usageFile = version2 ? "/memory.current" : "/memory.usage_in_bytes";
  const std::string inactiveKey = version2 ? "inactive_file" : "total_inactive_file";
  uint64_t room = unlimitedRoom;
  // A parent's limit binds its children too, so every level up to the mount counts.
  for (std::string level = directory;;) {
    const uint64_t limit = numberIn(level + limitFile, unlimitedRoom);
    const uint64_t usage = numberIn(level + usageFile, 0);
    if (limit != unlimitedRoom) {
      const uint64_t inactive = statValue(level + "/memory.stat", inactiveKey);
      room = std::min(room, roomBetween(limit, usage - std::min(usage, inactive)));
    }
    const std::size_t slash = level.find_last_of('/');
    if (slash == std::string::npos || slash == 0) break;
    level.resize(slash);
    if (numberIn(level + usageFile, unlimitedRoom) == unlimitedRoom) break;  // above the mount
  }
  return room;
}

uint64_t addressSpaceRoom() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return unlimitedRoom;
  std::ifstream statm("/proc/self/statm");
  uint64_t pages = 0;
  if (!(statm >> pages)) return unlimitedRoom;
  return roomBetween(limit.rlim_cur, pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)));
}

}  // namespace

uint64_t availableMemoryFrom(std::istream& meminfo) {
  // Line by line: some lines have no unit.
  for (std::string line; std::getline(meminfo, line);) {
    std::istringstream fields(line);
    std::string name;
    uint64_t kibibytes = 0;
    if (fields >> name >> kibibytes && name == "MemAvailable:") return kibibytes * 1024;
  }
  return unlimitedRoom;
}

std::string memoryCgroupDirectory(std::istream& procSelfCgroup, std::istream& mountinfo,
                                  bool& version2) {
  // Lines "hierarchy-id:controllers:path"; v2 is the line with id 0 and no controllers.
  std::string v1Path, v2Path;
  bool haveV1 = false, haveV2 = false;
  for (std::string line; std::getline(procSelfCgroup, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    std::istringstream list(controllers);
    for (std::string controller; std::getline(list, controller, ',');) {
      if (controller == "memory") v1Path = path, haveV1 = true;
    }
    if (line.compare(0, first, "0") == 0 && controllers.empty()) v2Path = path, haveV2 = true;
  }
  // Mount lines: "id parent dev root mountpoint options ... - type source superoptions".
  std::string v1Mount, v1Root, v2Mount, v2Root;
  for (std::string line; std::getline(mountinfo, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, field;
    fields >> id >> parent >> device >> root >> mountPoint;
    while (fields >> field && field != "-") {
    }
    std::string type, source, options;
    fields >> type >> source >> options;
    if (type == "cgroup2" && v2Mount.empty()) v2Mount = mountPoint, v2Root = root;
    if (type == "cgroup" && ("," + options + ",").find(",memory,") != std::string::npos) {
      v1Mount = mountPoint, v1Root = root;
    }
  }
  auto below = [](const std::string& mount, const std::string& root, std::string path) {
    if (root != "/" && path.compare(0, root.size(), root) == 0) path.erase(0, root.size());
    if (path == "/") path.clear();
    return mount + path;
  };
  if (haveV1 && !v1Mount.empty()) {
    version2 = false;
    return below(v1Mount, v1Root, v1Path);
  }
  if (haveV2 && !v2Mount.empty()) {
    version2 = true;
    return below(v2Mount, v2Root, v2Path);
  }
  return "";
}

MemoryReadings readMemoryReadings() {
  MemoryReadings readings;
  std::ifstream procSelfCgroup("/proc/self/cgroup");
  std::ifstream mountinfo("/proc/self/mountinfo");
  bool version2 = false;
  const std::string directory = memoryCgroupDirectory(procSelfCgroup, mountinfo, version2);
  if (!directory.empty()) readings.cgroupRoom = roomInCgroup(directory, version2);
  std::ifstream meminfo("/proc/meminfo");
  readings.availableMemory = availableMemoryFrom(meminfo);
  readings.addressSpaceRoom = addressSpaceRoom();
  return readings;
}

bool growthFits(uint64_t bytes, const MemoryReadings& readings) {
  const uint64_t room =
      std::min({readings.cgroupRoom, readings.availableMemory, readings.addressSpaceRoom});
  return room >= memorySafetyMargin && bytes <= room - memorySafetyMargin;
}
