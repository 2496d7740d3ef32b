#include "mesh/memory_room.h"

#include <algorithm>

bool growthFits(uint64_t bytes, const MemoryRoom& room) {
  const uint64_t tightest = std::min({room.cgroup, room.available, room.addressSpace});
  return tightest >= memorySafetyMargin && bytes <= tightest - memorySafetyMargin;
}
