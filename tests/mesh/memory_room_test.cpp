#include "mesh/memory_room.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(MemoryRoom, TheTightestReadingLessTheMarginDecides) {
  MemoryReadings readings;
  EXPECT_TRUE(growthFits(uint64_t{1} << 40, readings));
  readings.cgroupRoom = memorySafetyMargin + 1000;
  EXPECT_TRUE(growthFits(1000, readings));
  EXPECT_FALSE(growthFits(1001, readings));
  readings.availableMemory = memorySafetyMargin + 10;
  EXPECT_FALSE(growthFits(11, readings));
  readings.addressSpaceRoom = memorySafetyMargin - 1;
  EXPECT_FALSE(growthFits(0, readings));
}

TEST(MemoryRoom, ReadsMemAvailable) {
  std::istringstream meminfo("MemTotal:  100 kB\nMemFree:  50 kB\nMemAvailable:  1234 kB\n");
  EXPECT_EQ(availableMemoryFrom(meminfo), 1234u * 1024);
  std::istringstream old("MemTotal:  100 kB\nHugePages_Total:  0\nMemFree:  50 kB\n");
  EXPECT_EQ(availableMemoryFrom(old), unlimitedRoom);
}

TEST(MemoryRoom, FindsTheMemoryCgroupOfEitherVersion) {
  const char* hybridMounts =
      "35 31 0:32 / /sys/fs/cgroup/memory rw,relatime - cgroup cgroup rw,memory\n"
      "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n";
  std::istringstream hybrid("5:cpu:/\n4:memory:/jobs/a\n0::/\n");
  std::istringstream hybridMountinfo(hybridMounts);
  bool version2 = true;
  EXPECT_EQ(memoryCgroupDirectory(hybrid, hybridMountinfo, version2),
            "/sys/fs/cgroup/memory/jobs/a");
  EXPECT_FALSE(version2);

  std::istringstream unified("0::/user.slice/session\n");
  std::istringstream unifiedMountinfo(
      "30 1 0:26 / /sys/fs/cgroup rw,nosuid - cgroup2 cgroup2 rw,nsdelegate\n");
  EXPECT_EQ(memoryCgroupDirectory(unified, unifiedMountinfo, version2),
            "/sys/fs/cgroup/user.slice/session");
  EXPECT_TRUE(version2);

  // A container sees its own cgroup as the root.
  std::istringstream container("0::/\n");
  std::istringstream containerMountinfo("30 1 0:26 / /sys/fs/cgroup ro - cgroup2 cgroup2 rw\n");
  EXPECT_EQ(memoryCgroupDirectory(container, containerMountinfo, version2), "/sys/fs/cgroup");

  std::istringstream none("");
  std::istringstream noMounts("");
  EXPECT_EQ(memoryCgroupDirectory(none, noMounts, version2), "");
}
