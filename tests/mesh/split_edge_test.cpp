#include "mesh/split_edge.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mesh/refine.h"
#include "tests/mesh/mesh_fixtures.h"

TEST(SplitEdgeDirect, SameRecordsAsTheLiteralSplitForEveryEdge) {
  Stepper refined;
  refined.steps(3);
  for (std::size_t e = 0; e < refined.mesh.edges.size(); ++e) {
    const auto edge = static_cast<int32_t>(e);
    Mesh literal = refined.mesh;
    Mesh direct = refined.mesh;
    reserveForOneSplit(direct);
    EdgeSplit split{};
    ASSERT_TRUE(splitTakesUsualCases(direct, edge, split)) << edge;
    ASSERT_EQ(splitEdgeDirect(direct, split), literal.splitEdge(edge)) << edge;
    ASSERT_TRUE(sameRecords(direct, literal)) << edge;
  }
}

TEST(SplitEdgeDirect, AnyDoubtLeavesTheLiteralSplit) {
  const Mesh start = icosahedron();
  EdgeSplit split{};
  EXPECT_FALSE(splitTakesUsualCases(start, 60, split));
  EXPECT_FALSE(splitTakesUsualCases(start, -1, split));
  Mesh mesh = start;
  EXPECT_THROW(splitEdgeEitherWay(mesh, 60), std::out_of_range);

  mesh = start;
  mesh.edges.at(mesh.nextEdge(10)).next = -1;  // the loop of edge 10's face is broken
  EXPECT_FALSE(splitTakesUsualCases(mesh, 10, split));
  EXPECT_THROW(splitEdgeEitherWay(mesh, 10), std::out_of_range);

  // A corner that is not where its neighbours say: no usual case, and the literal
  // split fails its check as it always did.
  mesh = start;
  mesh.edges.at(mesh.nextEdge(10)).vertex = mesh.edges.at(10).vertex;
  EXPECT_FALSE(splitTakesUsualCases(mesh, 10, split));
  EXPECT_THROW(splitEdgeEitherWay(mesh, 10), std::runtime_error);
}

namespace {

// How a run of splits ends: "done", or the kind of exception that stopped it.
template <typename Splits>
std::string endOf(Splits splits) {
  try {
    splits();
    return "done";
  } catch (const std::out_of_range&) {
    return "out of range";
  } catch (const std::runtime_error&) {
    return "assert";
  }
}

}  // namespace

// A step reads ahead the records of the splits up to 32 places on. A broken record there
// must stop the step at the split that reads it, as the literal splits stop, and with the
// same records written: the lookahead neither throws nor writes.
TEST(SplitLookahead, ABrokenRecordAheadStopsTheStepWhereTheLiteralSplitsStop) {
  Stepper refined;
  refined.steps(4);                        // the next step splits [60, 180) first
  constexpr int32_t broken = 60 + 2 * 40;  // the edge of its 41st split
  const std::vector<std::function<void(Mesh&)>> breaks = {
      [](Mesh& mesh) { mesh.edges.at(broken).next = -1; },
      [](Mesh& mesh) { mesh.edges.at(twin(broken)).next = 1 << 20; },
      [](Mesh& mesh) { mesh.edges.at(broken).face = -1; },
      [](Mesh& mesh) { mesh.edges.at(twin(broken)).vertex = -1; },
      [](Mesh& mesh) { mesh.edges.at(mesh.nextEdge(broken)).next = -1; },
      [](Mesh& mesh) { mesh.edges.at(twin(mesh.nextEdge(broken))).vertex = -1; },
  };
  for (std::size_t k = 0; k < breaks.size(); ++k) {
    Stepper stepped = refined;
    breaks[k](stepped.mesh);
    Mesh literal = stepped.mesh;
    std::ostringstream out;
    const std::string end =
        endOf([&] { splitForStep(stepped.mesh, stepped.refinement, stepped.room, out); });
    const std::string literalEnd = endOf([&] {
      for (int32_t edge = 60; edge < 180; edge += 2) literal.splitEdge(edge);
    });
    EXPECT_NE(end, "done") << k;
    EXPECT_EQ(end, literalEnd) << k;
    EXPECT_TRUE(sameRecords(stepped.mesh, literal)) << k;
  }
}
