#pragma once
// How many more bytes the process can really get: the tightest of its memory cgroup's
// room, the system's available memory (so nothing goes to swap) and its address-space limit.

#include <cstdint>
#include <istream>
#include <string>

constexpr uint64_t unlimitedRoom = UINT64_MAX;
// Kept free for what the process allocates besides the mesh.
constexpr uint64_t memorySafetyMargin = 32ull << 20;

struct MemoryReadings {
  uint64_t cgroupRoom = unlimitedRoom;        // limit less usage, over the cgroup and its parents
  uint64_t availableMemory = unlimitedRoom;   // MemAvailable of /proc/meminfo
  uint64_t addressSpaceRoom = unlimitedRoom;  // RLIMIT_AS less the address space in use
};

// Reads /proc and /sys now; a reading that is missing or unreadable stays unlimited.
MemoryReadings readMemoryReadings();

// True when `bytes` more fit with a safety margin to spare.
bool growthFits(uint64_t bytes, const MemoryReadings& readings);

// The parts of the reading that only parse text, apart so tests can feed them.
// MemAvailable in bytes, or unlimitedRoom when the line is missing.
uint64_t availableMemoryFrom(std::istream& meminfo);
// The memory cgroup's directory below the mount points in `mountinfo`, from the lines
// of /proc/self/cgroup; empty when there is no memory cgroup. `version2` tells which
// set of file names applies.
std::string memoryCgroupDirectory(std::istream& procSelfCgroup, std::istream& mountinfo,
                                  bool& version2);
