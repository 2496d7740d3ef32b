#include "startup/icosahedron.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "startup/start_mesh.h"
#include "tests/mesh/mesh_fixtures.h"

namespace {

double distance(const Vector3& a, const Vector3& b) {
  return length(a - b);
}

TEST(Icosahedron, HasTwelveVerticesThirtyEdgePairsTwentyFaces) {
  const Mesh mesh = icosahedron();
  EXPECT_EQ(mesh.vertices.size(), 12u);
  EXPECT_EQ(mesh.edges.size(), 60u);
  EXPECT_EQ(mesh.faces.size(), 20u);
}

TEST(Icosahedron, EveryEdgeHasUnitLengthAndMeetsItsTwin) {
  const Mesh mesh = icosahedron();
  for (int32_t e = 0; e < 60; ++e) {
    const Edge& edge = mesh.edges.at(e);
    // The end of an edge is both its twin's start and its successor's start.
    EXPECT_EQ(mesh.endVertex(e), mesh.edges.at(edge.next).vertex) << "edge " << e;
    EXPECT_NE(edge.vertex, mesh.endVertex(e)) << "edge " << e;
    EXPECT_NE(mesh.edges.at(twin(e)).face, edge.face) << "edge " << e;
    EXPECT_NEAR(distance(mesh.position(edge.vertex), mesh.position(mesh.endVertex(e))), 1.0, 1e-15)
        << "edge " << e;
  }
}

// Valid, closed, every face a triangle of its own edges facing away from the centre.
TEST(Icosahedron, IsAClosedOutwardTriangleMesh) {
  EXPECT_EQ(sphereFaults(icosahedron()), "");
}

TEST(Icosahedron, EveryVertexHasFiveEdgesAroundItAllEndingThere) {
  const Mesh mesh = icosahedron();
  int starts[12] = {};
  for (const Edge& edge : mesh.edges) ++starts[edge.vertex];
  for (int32_t v = 0; v < 12; ++v) {
    EXPECT_EQ(starts[v], 5) << "vertex " << v;
    const int32_t first = mesh.vertices.at(v).edge;
    int32_t e = first;
    int loopLength = 0;
    do {
      EXPECT_EQ(mesh.endVertex(e), v) << "vertex " << v << ", edge " << e;
      e = mesh.nextAroundVertex(e);
      ++loopLength;
    } while (e != first && loopLength <= 60);
    EXPECT_EQ(loopLength, 5) << "vertex " << v;
  }
}

TEST(Icosahedron, CornersAreExactWhereTheyShouldBe) {
  const IcosahedronCorners corners = icosahedronCorners();
  // Exact zeros on the axis and at angle 0, but pi's sine is not zero in doubles.
  EXPECT_EQ(corners[0].x, 0.0);
  EXPECT_EQ(corners[0].y, 0.0);
  EXPECT_EQ(corners[11].x, 0.0);
  EXPECT_EQ(corners[11].y, 0.0);
  EXPECT_EQ(corners[1].y, 0.0);
  EXPECT_EQ(corners[8].y, 1.0417467896404342e-16);
  EXPECT_EQ(corners[1].x, 0.85065080835203988);
  EXPECT_EQ(corners[11].z, 0.95105651629515364);
  EXPECT_EQ(corners[0].z, -corners[11].z);
  for (int v = 1; v <= 5; ++v) EXPECT_EQ(corners[v].z, -0.42532540417601994) << v;
  for (int v = 6; v <= 10; ++v) EXPECT_EQ(corners[v].z, 0.42532540417601994) << v;
}

TEST(Icosahedron, MeshHoldsTheComputedCorners) {
  const Mesh mesh = icosahedron();
  const IcosahedronCorners corners = icosahedronCorners();
  for (int32_t v = 0; v < 12; ++v) {
    const Vector3 p = mesh.position(v);
    EXPECT_EQ(p.x, corners[v].x);
    EXPECT_EQ(p.y, corners[v].y);
    EXPECT_EQ(p.z, corners[v].z);
  }
}

TEST(Icosahedron, RebuildingReplacesAnyPreviousMeshWithTheSameRecords) {
  const Mesh first = icosahedron();
  Mesh mesh;
  std::ostringstream ignored;
  buildStartMesh(mesh, ignored);
  // Grow well past the initial sizes so the arrays have moved, then rebuild.
  for (int i = 0; i < 5000; ++i) {
    mesh.vertices.push_back({1, 2, 3, -1});
    mesh.edges.push_back({-1, -1, -1});
    mesh.faces.push_back({-1});
  }
  buildStartMesh(mesh, ignored);
  EXPECT_TRUE(sameRecords(mesh, first));
  // The storage was given back, so capacity is back to what 12/60/20 needs.
  EXPECT_LT(mesh.edges.capacity(), 5000u);
}

// The walks read through the checked arrays (whose own checks array_test holds): a step
// past the last edge or along a link not yet assigned is refused, never read.
TEST(Icosahedron, WalksRefuseEdgesOutsideTheMesh) {
  Mesh mesh = icosahedron();
  EXPECT_THROW(mesh.nextEdge(60), std::out_of_range);
  EXPECT_THROW(mesh.endVertex(60), std::out_of_range);
  mesh.edges.at(0).next = -1;
  EXPECT_THROW(mesh.nextEdge(mesh.nextEdge(0)), std::out_of_range);
  EXPECT_THROW(mesh.nextAroundVertex(mesh.nextAroundVertex(0)), std::out_of_range);
}

}  // namespace
