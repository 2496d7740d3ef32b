#include "mesh/split_edge.h"

#include <gtest/gtest.h>

#include <stdexcept>

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
