// Reading the memory room: the kernel's own files, parsed with the standard library.
#include "system/memory_probe.h"

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <new>
#include <sstream>
#include <utility>
#include <vector>

#include "mesh/array.h"

namespace {

uint64_t roomBetween(uint64_t limit, uint64_t used) {
  return limit > used ? limit - used : 0;
}

// The first number in a file, or nothing ("max" in cgroup v2, or no such file).
std::optional<uint64_t> numberIn(const std::string& path) {
  std::ifstream file(path);
  uint64_t value = 0;
  if (file >> value) return value;
  return std::nullopt;
}

// "name value" lines of a memory.stat file, the values of the names asked for; a name
// that is missing, or a file that is missing, leaves its value as it was.
void readStat(const std::string& path,
              std::initializer_list<std::pair<const char*, uint64_t*>> wanted) {
  std::ifstream file(path);
  if (!file) return;
  std::string name;
  uint64_t value = 0;
  while (file >> name >> value) {
    for (const auto& [key, target] : wanted) {
      if (name == key) *target = value;
    }
  }
}

// mountinfo writes blanks, tabs, newlines and backslashes in paths as \ooo octal escapes.
std::string decodeMountPath(const std::string& field) {
  std::string path;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const bool escape = field[i] == '\\' && i + 3 < field.size() &&
                        std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                                    [](char c) { return c >= '0' && c <= '7'; });
    if (!escape) {
      path += field[i];
      continue;
    }
    path += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                              (field[i + 3] - '0'));
    i += 3;
  }
  return path;
}

// `path` relative to a mount whose root is `mountRoot`, matched on whole path components;
// nothing when the mount does not show it (a sibling such as /ab for a root /a, or a
// path that climbs out with "..", as a cgroup outside a namespace's root reads).
std::optional<std::string> pathBelow(const std::string& mountRoot, const std::string& path) {
  if (path.empty() || path[0] != '/' || (path + "/").find("/../") != std::string::npos) {
    return std::nullopt;
  }
  if (mountRoot == "/") return path == "/" ? "" : path;
  if (path == mountRoot) return "";
  if (path.compare(0, mountRoot.size(), mountRoot) == 0 && path[mountRoot.size()] == '/') {
    return path.substr(mountRoot.size());
  }
  return std::nullopt;
}

struct CgroupPaths {
  std::optional<std::string> version1;  // the path of the v1 hierarchy with the controller
  std::optional<std::string> version2;  // the path in the unified hierarchy
};

// Lines "hierarchy-id:controllers:path"; v2 is the line with id 0 and no controllers.
// Whether a comma-separated list names `word`.
bool namesInList(const std::string& list, const std::string& word) {
  return ("," + list + ",").find("," + word + ",") != std::string::npos;
}

CgroupPaths cgroupPathsFrom(std::istream& procSelfCgroup, const std::string& controller) {
  CgroupPaths paths;
  for (std::string line; std::getline(procSelfCgroup, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (line.compare(0, first, "0") == 0 && controllers.empty()) paths.version2 = path;
    if (namesInList(controllers, controller)) paths.version1 = path;
  }
  return paths;
}

// One line of mountinfo: "id parent major:minor root point options [optional...] - type
// source superoptions". Only cgroup mounts are kept.
struct Mount {
  std::string id, parent;  // this mount's id and the id of the mount it sits on
  std::string root, point;
  bool version2 = false;  // cgroup2; otherwise a v1 hierarchy
  std::string options;    // v1: the controllers this hierarchy holds, among other options
};

std::vector<Mount> cgroupMountsFrom(std::istream& mountinfo) {
  std::vector<Mount> mounts;
  for (std::string line; std::getline(mountinfo, line);) {
    std::istringstream fields(line);
    std::string device, mountRoot, mountPoint, field, type, source, options;
    Mount mount;
    fields >> mount.id >> mount.parent >> device >> mountRoot >> mountPoint;
    while (fields >> field && field != "-") {
    }
    fields >> type >> source >> options;
    if (type != "cgroup2" && type != "cgroup") continue;
    mount.root = decodeMountPath(mountRoot);
    mount.point = decodeMountPath(mountPoint);
    mount.version2 = type == "cgroup2";
    mount.options = options;
    mounts.push_back(mount);
  }
  return mounts;
}

// Where several mounts share a mount point, only the last one shows: proc(5) names it as
// the one that no other mount at that place has for its parent. Mounts other than cgroup
// ones are not read, so a cgroup mount hidden by, say, a tmpfs still counts as shown.
bool visible(const std::vector<Mount>& mounts, const Mount& mount) {
  return std::none_of(mounts.begin(), mounts.end(), [&](const Mount& other) {
    return &other != &mount && other.point == mount.point && other.parent == mount.id;
  });
}

// A mount whose root lies above the cgroup namespace's root shows it as "/.." once for
// each level it lies above (mountinfo writes roots relative to the reader's namespace);
// the count, or nothing for any other root.
std::optional<int> levelsAboveNamespace(const std::string& mountRoot) {
  if (mountRoot.empty() || mountRoot == "/") return std::nullopt;
  int levels = 0;
  for (std::size_t at = 0; at < mountRoot.size(); at += 3, ++levels) {
    if (mountRoot.compare(at, 3, "/..") != 0) return std::nullopt;
  }
  return levels;
}

// The process's id as the kernel's files below `prefix` give it.
std::string ownProcessId(const std::string& prefix) {
  std::ifstream stat(prefix + "/proc/self/stat");
  std::string id;
  stat >> id;
  return id;
}

// Whether the file lists `word` among its blank-separated words: a process id in
// cgroup.procs, a controller in cgroup.controllers. A missing file lists nothing.
bool listsWord(const std::string& path, const std::string& word) {
  std::ifstream file(path);
  for (std::string listed; file >> listed;) {
    if (listed == word) return true;
  }
  return false;
}

// Enough for every cgroup a desktop or a container host has at one level, small enough
// that a refused step never waits on the search.
constexpr int searchedDirectoryLimit = 4096;

// With the mount's root above the namespace's, the namespace's root is one of the
// directories `levels` below the mount point, and which one cannot be read from the
// process's own files: the one whose `path` lists the process in its cgroup.procs is it.
// The search is bounded; whatever it cannot read or finds nowhere gives nothing.
std::optional<std::string> findListing(const std::string& prefix, const std::string& point,
                                       int levels, const std::string& path) {
  const std::string processId = ownProcessId(prefix);
  if (processId.empty() || (path + "/").find("/../") != std::string::npos) return std::nullopt;
  std::vector<std::string> level{""};  // relative to the mount point, sorted at each level
  int searched = 0;
  for (int depth = 0; depth < levels; ++depth) {
    std::vector<std::string> below;
    for (const std::string& directory : level) {
      std::error_code error;
      std::filesystem::directory_iterator entries(prefix + point + directory, error);
      for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (++searched > searchedDirectoryLimit) return std::nullopt;
        if (entries->is_directory(error) && !entries->is_symlink(error)) {
          below.push_back(directory + "/" + entries->path().filename().string());
        }
      }
    }
    std::sort(below.begin(), below.end());
    level = std::move(below);
  }
  const std::string own = path == "/" ? "" : path;
  for (const std::string& directory : level) {
    if (listsWord(prefix + point + directory + own + "/cgroup.procs", processId)) {
      return directory + own;
    }
  }
  return std::nullopt;
}

// The process's cgroup `path` as one of `mounts` shows it, in the hierarchy asked for.
// Of the visible mounts that show it, the one that shows the most of its ancestors wins:
// the shortest root, and before any root a root above the namespace's, the further above
// the better. The first of equals is taken.
std::optional<Cgroup> shownBy(const std::string& prefix, const std::vector<Mount>& mounts,
                              const std::string& path, bool version2,
                              const std::string& controller) {
  struct Candidate {
    const Mount* mount;
    std::optional<int> above;  // levels above the namespace's root, for such a root
    long rank;                 // lower shows more ancestors
  };
  std::vector<Candidate> candidates;
  for (const Mount& mount : mounts) {
    if (mount.version2 != version2 || (!version2 && !namesInList(mount.options, controller)) ||
        !visible(mounts, mount)) {
      continue;
    }
    const std::optional<int> above = levelsAboveNamespace(mount.root);
    candidates.push_back({&mount, above, above ? -*above : static_cast<long>(mount.root.size())});
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.rank < b.rank; });
  for (const Candidate& candidate : candidates) {
    const Mount& mount = *candidate.mount;
    const std::string top = mount.point == "/" ? "" : mount.point;
    const std::optional<std::string> below = candidate.above
                                                 ? findListing(prefix, top, *candidate.above, path)
                                                 : pathBelow(mount.root, path);
    if (!below) continue;
    if (version2 && !listsWord(prefix + top + "/cgroup.controllers", controller)) continue;
    return Cgroup{top + *below, top, version2};
  }
  return std::nullopt;
}

// What the cgroup can still give at one level: its tightest limit less the usage it cannot
// take back. File pages, active or inactive, are dropped before the limit is enforced.
struct Level {
  std::optional<uint64_t> limit;
  uint64_t usage = 0;
  uint64_t reclaimable = 0;
};

Level readLevel(const std::string& level, bool version2, uint64_t usageBelow) {
  Level read;
  uint64_t activeFile = 0, inactiveFile = 0, hierarchicalLimit = unlimitedRoom;
  if (version2) {
    const std::optional<uint64_t> max = numberIn(level + "/memory.max");
    const std::optional<uint64_t> high = numberIn(level + "/memory.high");
    if (max || high)
      read.limit = std::min(max.value_or(unlimitedRoom), high.value_or(unlimitedRoom));
    read.usage = numberIn(level + "/memory.current").value_or(usageBelow);
    if (read.limit) {
      readStat(level + "/memory.stat",
               {{"active_file", &activeFile}, {"inactive_file", &inactiveFile}});
    }
  } else {
    // v1 also states the tightest limit of the ancestors, even of those the mount hides.
    read.limit = numberIn(level + "/memory.limit_in_bytes");
    read.usage = numberIn(level + "/memory.usage_in_bytes").value_or(usageBelow);
    readStat(level + "/memory.stat", {{"total_active_file", &activeFile},
                                      {"total_inactive_file", &inactiveFile},
                                      {"hierarchical_memory_limit", &hierarchicalLimit}});
    if (read.limit || hierarchicalLimit != unlimitedRoom) {
      read.limit = std::min(read.limit.value_or(unlimitedRoom), hierarchicalLimit);
    }
  }
  read.reclaimable = activeFile + inactiveFile;
  return read;
}

// Every level from the process's cgroup up to the top counts, whether or not the levels in
// between have the controller's files: a parent's limit binds its children too.
uint64_t roomInCgroup(const std::string& root, const Cgroup& cgroup) {
  uint64_t room = unlimitedRoom;
  uint64_t usageBelow = 0;
  for (std::string level = cgroup.directory;;) {
    const Level read = readLevel(root + level, cgroup.version2, usageBelow);
    usageBelow = std::max(usageBelow, read.usage);
    if (read.limit) {
      room = std::min(
          room, roomBetween(*read.limit, read.usage - std::min(read.usage, read.reclaimable)));
    }
    if (level.size() <= cgroup.top.size()) break;
    level.resize(level.find_last_of('/'));
  }
  return room;
}

uint64_t addressSpaceRoom(const std::string& root) {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return unlimitedRoom;
  const std::optional<uint64_t> pages = numberIn(root + "/proc/self/statm");
  if (!pages) return unlimitedRoom;
  return roomBetween(limit.rlim_cur, *pages * uint64_t{memoryPageBytes()});
}

// "/" and "" both mean the real root; a trailing slash is dropped so paths join with one.
std::string rootPrefix(const std::string& root) {
  std::string prefix = root;
  while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
  return prefix;
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

std::optional<Cgroup> findCgroup(const std::string& root, const std::string& controller) {
  const std::string prefix = rootPrefix(root);
  std::ifstream procSelfCgroup(prefix + "/proc/self/cgroup");
  const CgroupPaths paths = cgroupPathsFrom(procSelfCgroup, controller);
  std::ifstream mountinfo(prefix + "/proc/self/mountinfo");
  const std::vector<Mount> mounts = cgroupMountsFrom(mountinfo);
  if (paths.version2) {
    if (std::optional<Cgroup> unified =
            shownBy(prefix, mounts, *paths.version2, true, controller)) {
      return unified;
    }
  }
  if (paths.version1) return shownBy(prefix, mounts, *paths.version1, false, controller);
  return std::nullopt;
}

std::optional<Cgroup> findMemoryCgroup(const std::string& root) {
  return findCgroup(root, "memory");
}

MemoryRoom readMemoryRoom(const std::string& root) {
  try {
    const std::string prefix = rootPrefix(root);
    MemoryRoom room;
    if (const std::optional<Cgroup> cgroup = findMemoryCgroup(prefix)) {
      room.cgroup = roomInCgroup(prefix, *cgroup);
    }
    std::ifstream meminfo(prefix + "/proc/meminfo");
    room.available = availableMemoryFrom(meminfo);
    room.addressSpace = addressSpaceRoom(prefix);
    return room;
  } catch (const std::bad_alloc&) {
    return MemoryRoom{0, 0, 0};
  }
}
