#include "mesh/array.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <vector>

#include "mesh/mesh.h"

TEST(GrowableArray, AccessOutsideTheArrayThrowsIncludingMinusOne) {
  GrowableArray<Edge> edges;
  EXPECT_THROW(edges.at(0), std::out_of_range);
  edges.push_back(Edge{1, 2, 3});
  EXPECT_EQ(edges.at(0).next, 3);
  EXPECT_THROW(edges.at(1), std::out_of_range);
  const int32_t unlinked = -1;
  EXPECT_THROW(edges.at(unlinked), std::out_of_range);
  EXPECT_THROW(edges.at(twin(unlinked)), std::out_of_range);
}

TEST(GrowableArray, GrowthKeepsEveryRecordAtItsIndex) {
  GrowableArray<Vertex> vertices;
  for (int32_t i = 0; i < 100000; ++i) vertices.push_back(Vertex{i * 0.5, -i * 1.0, 1.0, i});
  vertices.reserve(3000000);
  for (int32_t i = 0; i < 100000; ++i) {
    ASSERT_EQ(vertices.at(i).edge, i);
    ASSERT_EQ(vertices.at(i).x, i * 0.5);
  }
  EXPECT_GE(vertices.capacity(), 3000000u);
  EXPECT_EQ(vertices.size(), 100000u);

  // Making the new room resident starts inside the last page in use (100000 records
  // do not end on a page boundary); what that page holds must survive.
  vertices.reserveResident(4000000);
  EXPECT_GE(vertices.capacity(), 4000000u);
  ASSERT_EQ(vertices.size(), 100000u);
  for (int32_t i = 99000; i < 100000; ++i) ASSERT_EQ(vertices.at(i).edge, i);
  vertices.reserveResident(10);  // a smaller count changes nothing
  EXPECT_EQ(vertices.size(), 100000u);
  EXPECT_EQ(vertices.at(99999).y, -99999.0);
}

TEST(GrowableArray, AppendingAnElementOfItselfSurvivesTheMove) {
  GrowableArray<Face> faces;
  faces.push_back(Face{7});
  while (faces.size() < faces.capacity()) faces.push_back(Face{1});
  faces.push_back(faces.at(0));  // this append moves the storage
  EXPECT_EQ(faces.back().edge, 7);
}

TEST(GrowableArray, CopiesAreIndependentAndReleaseLeavesNoCapacity) {
  GrowableArray<Face> original;
  for (int32_t i = 0; i < 10; ++i) original.push_back(Face{i});
  GrowableArray<Face> copy = original;
  copy.at(3).edge = 99;
  EXPECT_EQ(original.at(3).edge, 3);
  GrowableArray<Face> moved = std::move(copy);
  EXPECT_EQ(moved.at(3).edge, 99);
  moved.clear();
  moved.shrink_to_fit();
  EXPECT_EQ(moved.size(), 0u);
  EXPECT_EQ(moved.capacity(), 0u);
  moved.push_back(Face{5});
  EXPECT_EQ(moved.at(0).edge, 5);
}

namespace {

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * memoryPageBytes();
}

}  // namespace

// A refused growth shrinks its arrays back: the room it made resident must leave the process.
TEST(GrowableArray, ShrinkingGivesResidentRoomBack) {
  GrowableArray<Vertex> vertices;
  vertices.push_back(Vertex{1, 2, 3, 4});
  const std::size_t before = residentBytes();
  ASSERT_TRUE(vertices.reserveResident((64u << 20) / sizeof(Vertex)));
  EXPECT_GE(residentBytes(), before + (60u << 20));
  vertices.shrink_to_fit();
  EXPECT_LE(residentBytes(), before + (4u << 20));
  EXPECT_EQ(vertices.at(0).edge, 4);
}

// A long reservation reports a chunk at a time, and the chunks cover the whole new room.
TEST(GrowableArray, ResidentRoomIsMadeInChunksThatCoverIt) {
  GrowableArray<Vertex> vertices;
  vertices.push_back(Vertex{1, 2, 3, 4});
  const std::size_t count = (100u << 20) / sizeof(Vertex);
  std::vector<std::size_t> chunks;
  ASSERT_TRUE(vertices.reserveResident(count, [&](std::size_t bytes) { chunks.push_back(bytes); }));
  ASSERT_GT(chunks.size(), 1u);  // a long reservation is heard from before its end
  std::size_t covered = 0;
  for (std::size_t bytes : chunks) {
    EXPECT_LE(bytes, GrowableArray<Vertex>::residentChunkBytes);
    EXPECT_EQ(bytes % memoryPageBytes(), 0u);
    covered += bytes;
  }
  EXPECT_GE(covered, (count - 1) * sizeof(Vertex));
  EXPECT_EQ(vertices.at(0).edge, 4);
}
