#include "mesh/statistics.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

std::string statistics(const Mesh& mesh) {
  std::ostringstream out;
  out.precision(19);
  printStatistics(mesh, out);
  return out.str();
}

// Both sides of one triangle: two faces of equal area.
Mesh twoSidedTriangle(double size) {
  Mesh mesh;
  mesh.vertices.push_back(Vertex{0, 0, 0, 5});
  mesh.vertices.push_back(Vertex{size, 0, 0, 1});
  mesh.vertices.push_back(Vertex{0, size, 0, 3});
  mesh.edges.push_back(Edge{0, 0, 2});  // 0 -> 1
  mesh.edges.push_back(Edge{1, 1, 5});
  mesh.edges.push_back(Edge{1, 0, 4});  // 1 -> 2
  mesh.edges.push_back(Edge{2, 1, 1});
  mesh.edges.push_back(Edge{2, 0, 0});  // 2 -> 0
  mesh.edges.push_back(Edge{0, 1, 3});
  mesh.faces.push_back(Face{0});
  mesh.faces.push_back(Face{1});
  return mesh;
}

}  // namespace

TEST(Statistics, NoFacesPrintsTheStartingValues) {
  EXPECT_EQ(statistics(Mesh{}), "Max/min area ratio=-100\nRelative error=-101\n");
}

TEST(Statistics, EqualAreasAndSingleFaceGiveRatioOne) {
  EXPECT_EQ(statistics(twoSidedTriangle(3)), "Max/min area ratio=1\nRelative error=0\n");
  Mesh single = twoSidedTriangle(3);
  single.faces.clear();
  single.faces.push_back(Face{3});
  EXPECT_EQ(statistics(single), "Max/min area ratio=1\nRelative error=0\n");
}

TEST(Statistics, RatioOfLargestToSmallestArea) {
  Mesh mesh = twoSidedTriangle(1);
  Mesh large = twoSidedTriangle(2);
  for (const Vertex& v : large.vertices) mesh.vertices.push_back(v);
  for (Edge e : large.edges) {
    e.vertex += 3;
    e.next += 6;
    mesh.edges.push_back(e);
  }
  mesh.faces.push_back(Face{6});
  EXPECT_EQ(statistics(mesh), "Max/min area ratio=4\nRelative error=3\n");
}

TEST(Statistics, BrokenLoopIsOutOfRange) {
  Mesh mesh = twoSidedTriangle(1);
  mesh.edges.at(2).next = -1;
  std::ostringstream out;
  EXPECT_THROW(printStatistics(mesh, out), std::out_of_range);
}
