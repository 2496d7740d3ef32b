#pragma once
// How many more bytes the process can get, as the caller read it, and whether a growth
// fits: a refinement step takes the room as a value and never reads the system itself.

#include <cstdint>

constexpr uint64_t unlimitedRoom = UINT64_MAX;
// Kept free for what the process allocates besides the mesh.
constexpr uint64_t memorySafetyMargin = 32ull << 20;

struct MemoryRoom {
  uint64_t cgroup = unlimitedRoom;        // tightest limit less what it cannot take back, any level
  uint64_t available = unlimitedRoom;     // the system's available memory
  uint64_t addressSpace = unlimitedRoom;  // RLIMIT_AS less the address space in use
};

// True when `bytes` more fit in the tightest reading with the safety margin to spare.
bool growthFits(uint64_t bytes, const MemoryRoom& room);
