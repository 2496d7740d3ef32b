#include "startup/icosahedron.h"

#include <cmath>
#include <cstdint>

#include "geom/vector.h"

namespace {

// The record tables are the numbering every later refinement and its printed
// statistics depend on, so they are data, not derived by a twin search.
constexpr int32_t vertexEdges[12] = {1, 0, 2, 4, 6, 8, 14, 22, 28, 34, 16, 44};

constexpr int32_t faceEdges[20] = {1,  0,  3,  5,  7,  10, 13, 14, 18, 21,
                                   24, 27, 30, 33, 37, 40, 43, 46, 50, 54};

struct EdgeRecord {
  int32_t vertex, face, next;
};

// One twin pair per row: edges 2k and 2k + 1.
// clang-format off
constexpr EdgeRecord edgeRecords[60] = {
    {0, 1, 12}, {1, 0, 2},
    {0, 0, 11}, {2, 2, 4},
    {0, 2, 19}, {3, 3, 6},
    {0, 3, 25}, {4, 4, 8},
    {0, 4, 31}, {5, 1, 0},
    {1, 5, 20}, {2, 0, 1},
    {1, 1, 9}, {5, 6, 16},
    {1, 7, 42}, {6, 5, 10},
    {1, 6, 39}, {10, 7, 14},
    {2, 8, 26}, {3, 2, 3},
    {2, 5, 15}, {6, 9, 22},
    {2, 9, 41}, {7, 8, 18},
    {3, 10, 32}, {4, 3, 5},
    {3, 8, 23}, {7, 11, 28},
    {3, 11, 47}, {8, 10, 24},
    {4, 12, 36}, {5, 4, 7},
    {4, 10, 29}, {8, 13, 34},
    {4, 13, 51}, {9, 12, 30},
    {5, 12, 35}, {9, 14, 38},
    {5, 14, 55}, {10, 6, 13},
    {6, 15, 48}, {7, 9, 21},
    {6, 7, 17}, {10, 16, 44},
    {6, 16, 59}, {11, 15, 40},
    {7, 17, 52}, {8, 11, 27},
    {7, 15, 45}, {11, 17, 46},
    {8, 18, 56}, {9, 13, 33},
    {8, 17, 49}, {11, 18, 50},
    {9, 19, 58}, {10, 14, 37},
    {9, 18, 53}, {11, 19, 54},
    {10, 19, 57}, {11, 16, 43},
};
// clang-format on

}  // namespace

IcosahedronCorners icosahedronCorners() {
  const double ringRadius = 0.5 / std::sin(pi / 5);
  const double apexOffset = std::sqrt(1 - ringRadius * ringRadius);
  const double apexHeight = ringRadius * 0.5 + apexOffset;
  const double ringHeight = ringRadius * 0.5;

  IcosahedronCorners corners{};
  corners[0] = {0, 0, -apexHeight};
  // Angle 0 is taken exactly rather than through cos and sin.
  corners[1] = {ringRadius, 0, -ringHeight};
  for (int vertex = 2; vertex <= 10; ++vertex) {
    // The lower ring steps by 2pi/5 from 0, the upper ring by 2pi/5 from pi/5, so the
    // vertex number fixes the multiple of pi/5: 2, 4, 6, 8 below, 1, 3, 5, 7, 9 above.
    const bool lower = vertex <= 5;
    const int multiple = lower ? 2 * (vertex - 1) : 2 * (vertex - 6) + 1;
    const double angle = multiple * pi / 5;
    corners[vertex] = {ringRadius * std::cos(angle), ringRadius * std::sin(angle),
                       lower ? -ringHeight : ringHeight};
  }
  corners[11] = {0, 0, apexHeight};
  return corners;
}

void fillIcosahedron(Mesh& mesh, const IcosahedronCorners& corners) {
  // A previous mesh of any size is given back entirely, not just emptied.
  mesh.vertices.clear();
  mesh.vertices.shrink_to_fit();
  mesh.edges.clear();
  mesh.edges.shrink_to_fit();
  mesh.faces.clear();
  mesh.faces.shrink_to_fit();

  mesh.vertices.reserve(12);
  mesh.edges.reserve(60);
  mesh.faces.reserve(20);

  for (int vertex = 0; vertex < 12; ++vertex) {
    const Vector3& p = corners.at(vertex);
    mesh.vertices.push_back({p.x, p.y, p.z, vertexEdges[vertex]});
  }
  for (int32_t edge : faceEdges) mesh.faces.push_back({edge});
  for (const EdgeRecord& record : edgeRecords) {
    mesh.edges.push_back({record.vertex, record.face, record.next});
  }
}
