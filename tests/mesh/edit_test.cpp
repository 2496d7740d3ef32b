#include <gtest/gtest.h>

#include <stdexcept>

#include "mesh/mesh.h"
#include "tests/mesh/mesh_fixtures.h"

namespace {

// Three vertices and the three edge pairs of one triangle, not yet linked.
// Pair 0 joins vertices 0 and 1, pair 2 joins 1 and 2, pair 4 joins 2 and 0.
Mesh looseTriangle() {
  Mesh mesh;
  mesh.addVertex(Vertex{0, 0, 0, -1});
  mesh.addVertex(Vertex{1, 0, 0, -1});
  mesh.addVertex(Vertex{0, 1, 0, -1});
  mesh.addEdgePair(0, 1);
  mesh.addEdgePair(1, 2);
  mesh.addEdgePair(2, 0);
  return mesh;
}

void expectTriangleLoop(const Mesh& mesh, int32_t face, int32_t e0, int32_t e1, int32_t e2) {
  EXPECT_EQ(mesh.faces.at(face).edge, e0);
  EXPECT_EQ(mesh.nextEdge(e0), e1);
  EXPECT_EQ(mesh.nextEdge(e1), e2);
  EXPECT_EQ(mesh.nextEdge(e2), e0);
  EXPECT_EQ(mesh.endVertex(e0), mesh.edges.at(e1).vertex);
  EXPECT_EQ(mesh.endVertex(e1), mesh.edges.at(e2).vertex);
  EXPECT_EQ(mesh.endVertex(e2), mesh.edges.at(e0).vertex);
  for (int32_t e : {e0, e1, e2}) EXPECT_EQ(mesh.edges.at(e).face, face);
}

}  // namespace

TEST(AddEdgePair, AppendsUnlinkedPairAndPointsBothVerticesAtIt) {
  Mesh mesh = icosahedron();
  const int32_t k = mesh.addEdgePair(3, 7);
  EXPECT_EQ(k, 60);
  ASSERT_EQ(mesh.edges.size(), 62u);
  for (int32_t e : {60, 61}) {
    EXPECT_EQ(mesh.edges.at(e).face, -1);
    EXPECT_EQ(mesh.edges.at(e).next, -1);
  }
  EXPECT_EQ(mesh.endVertex(60), 7);
  EXPECT_EQ(mesh.endVertex(61), 3);
  EXPECT_EQ(mesh.vertices.at(3).edge, 61);
  EXPECT_EQ(mesh.vertices.at(7).edge, 60);

  mesh.addEdgePair(5, 5);
  EXPECT_EQ(mesh.vertices.at(5).edge, 62);  // the second assignment wins
}

TEST(AddEdgePair, OddEdgeCountFailsBeforeAppending) {
  Mesh mesh = icosahedron();
  mesh.edges.push_back(Edge{0, -1, -1});
  EXPECT_THROW(mesh.addEdgePair(1, 2), std::runtime_error);
  EXPECT_EQ(mesh.edges.size(), 61u);
  EXPECT_EQ(mesh.vertices.at(1).edge, 0);
}

TEST(LinkEdges, NoSharedVertexChangesNothing) {
  Mesh mesh = icosahedron();
  const uint64_t before = meshHash(mesh);
  int32_t a = 0;   // 0 -> 1
  int32_t b = 58;  // 10 -> 11
  EXPECT_FALSE(mesh.linkEdges(a, b));
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 58);
  EXPECT_EQ(meshHash(mesh), before);
}

TEST(LinkEdges, AnEdgeWithItselfOrItsTwin) {
  Mesh mesh = looseTriangle();
  int32_t a = 2;
  int32_t b = 2;
  EXPECT_TRUE(mesh.linkEdges(a, b));  // same start: the first edge turns round
  EXPECT_EQ(a, 3);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(mesh.nextEdge(3), 2);

  a = 2;
  b = 3;
  EXPECT_TRUE(mesh.linkEdges(a, b));  // a ends where its twin starts
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(mesh.nextEdge(2), 3);
}

TEST(LinkEdges, CasesAreTriedInOrderAndWriteTheChosenDirections) {
  Mesh mesh = looseTriangle();
  int32_t a = 1;                      // 1 -> 0
  int32_t b = 4;                      // 2 -> 0
  EXPECT_TRUE(mesh.linkEdges(a, b));  // ends meet: b turns round
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 5);
  EXPECT_EQ(mesh.nextEdge(1), 5);

  a = 0;  // 0 -> 1
  b = 4;  // 2 -> 0: a starts where b ends, both turn round
  EXPECT_TRUE(mesh.linkEdges(a, b));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 5);
}

TEST(SetFaceAndAddFace, EveryDirectionOfTheThreeEdgesGivesOneLoop) {
  for (int directions = 0; directions < 8; ++directions) {
    SCOPED_TRACE(directions);
    Mesh mesh = looseTriangle();
    int32_t e0 = 0 | (directions & 1);
    int32_t e1 = 2 | ((directions >> 1) & 1);
    int32_t e2 = 4 | ((directions >> 2) & 1);
    EXPECT_EQ(mesh.addFace(e0, e1, e2), 0);
    ASSERT_EQ(mesh.faces.size(), 1u);
    expectTriangleLoop(mesh, 0, e0, e1, e2);

    // The other side, as setFace over the existing face.
    int32_t f0 = twin(e0);
    int32_t f1 = twin(e2);
    int32_t f2 = twin(e1);
    mesh.setFace(0, f0, f1, f2);
    expectTriangleLoop(mesh, 0, f0, f1, f2);
    EXPECT_EQ(f0, twin(e0));
  }
}

TEST(SetFaceAndAddFace, FailedChecksKeepEarlierWritesAndAddNoFace) {
  Mesh mesh = icosahedron();
  int32_t e0 = 0;   // 0 -> 1
  int32_t e1 = 58;  // 10 -> 11, no shared vertex
  int32_t e2 = 2;
  EXPECT_THROW(mesh.addFace(e0, e1, e2), std::runtime_error);
  EXPECT_EQ(mesh.faces.size(), 20u);

  // The second link turns e1 round, undoing the first; the first link's write stays.
  Mesh loose = looseTriangle();
  loose.addEdgePair(1, 0);  // pair 6: 1 -> 0
  int32_t a = 0;            // 0 -> 1
  int32_t b = 2;            // 1 -> 2
  int32_t c = 6;            // 1 -> 0: starts where b starts
  EXPECT_THROW(loose.addFace(a, b, c), std::runtime_error);
  EXPECT_EQ(loose.nextEdge(0), 2);
  EXPECT_EQ(loose.faces.size(), 0u);
}

TEST(SetFaceAndAddFace, IndexOutsideTheMeshIsOutOfRange) {
  Mesh mesh = looseTriangle();
  int32_t e0 = 0;
  int32_t e1 = 2;
  int32_t e2 = 4;
  EXPECT_THROW(mesh.setFace(0, e0, e1, e2), std::out_of_range);  // there is no face 0 yet
  int32_t far = 40;
  EXPECT_THROW(mesh.linkEdges(e0, far), std::out_of_range);
  EXPECT_THROW(mesh.addEdgePair(0, 9), std::out_of_range);
}
