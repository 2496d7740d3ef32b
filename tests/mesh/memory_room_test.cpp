#include "mesh/memory_room.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "mesh/refine.h"
#include "tests/mesh/mesh_fixtures.h"

// Each of the three readings alone can refuse growth; with none of them limited, even a
// tebibyte is admitted.
TEST(MemoryRoom, TheTightestReadingLessTheMarginDecides) {
  EXPECT_TRUE(growthFits(uint64_t{1} << 40, MemoryRoom{}));
  constexpr uint64_t limited = 64ull << 20;
  for (const MemoryRoom& room : {MemoryRoom{limited, unlimitedRoom, unlimitedRoom},
                                 MemoryRoom{unlimitedRoom, limited, unlimitedRoom},
                                 MemoryRoom{unlimitedRoom, unlimitedRoom, limited}}) {
    EXPECT_TRUE(growthFits(16ull << 20, room));
    EXPECT_FALSE(growthFits(48ull << 20, room)) << "the margin is kept free";
  }
}

namespace {

// The bytes of the records the next step adds, measured on a copy that takes it.
uint64_t recordBytesOfNextStep(const Stepper& stepper) {
  Stepper copy = stepper;
  copy.step();
  return (copy.mesh.vertices.size() - stepper.mesh.vertices.size()) * sizeof(Vertex) +
         (copy.mesh.edges.size() - stepper.mesh.edges.size()) * sizeof(Edge) +
         (copy.mesh.faces.size() - stepper.mesh.faces.size()) * sizeof(Face);
}

std::size_t capacities(const Mesh& mesh) {
  return mesh.vertices.capacity() + mesh.edges.capacity() + mesh.faces.capacity();
}

}  // namespace

// The room a step is given decides it: one byte short of its records refuses it, leaving
// the mesh, the refinement and the reserved memory as they were, and the split key says
// the same; its records and a page of slack per array admit it. For the face split and
// an edge step of either phase.
TEST(MemoryRoom, TheRoomGivenDecidesTheStep) {
  const std::string refused = "Not enough memory for the next refinement step\n";
  for (const int stepsBefore : {0, 5, 6}) {
    SCOPED_TRACE("after " + std::to_string(stepsBefore) + " steps");
    Stepper start;
    start.steps(stepsBefore);
    const uint64_t need = recordBytesOfNextStep(start);

    Stepper tight = start;
    tight.room.cgroup = memorySafetyMargin + need - 1;
    const std::size_t capacityBefore = capacities(tight.mesh);
    EXPECT_EQ(tight.step(), refused);
    EXPECT_FALSE(tight.figures.has_value());
    EXPECT_TRUE(sameRecords(tight.mesh, start.mesh));
    EXPECT_EQ(tight.refinement.splitRanges, start.refinement.splitRanges);
    EXPECT_EQ(tight.refinement.splitPhase, start.refinement.splitPhase);
    EXPECT_EQ(capacities(tight.mesh), capacityBefore) << "a refused step reserves nothing";
    std::ostringstream splitOutput;
    EXPECT_FALSE(splitEdgeIfRoom(tight.mesh, splitKeyEdge, MemoryRoom{0, 0, 0}, splitOutput));
    EXPECT_EQ(splitOutput.str(), refused);
    EXPECT_TRUE(sameRecords(tight.mesh, start.mesh));

    Stepper enough = start;
    enough.room.available = memorySafetyMargin + need + 3 * memoryPageBytes();
    EXPECT_NE(enough.step().find("Face count: "), std::string::npos);
    EXPECT_EQ(sphereFaults(enough.mesh), "");
  }
}
