#include "mesh/statistics.h"

#include <cmath>

namespace {

double triangleArea(const Vector3& p, const Vector3& q, const Vector3& r) {
  const Vector3 u = q - p;
  const Vector3 w = r - p;
  const Vector3 n = cross(u, w);
  return 0.5 * std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
}

}  // namespace

void printStatistics(const Mesh& mesh, std::ostream& out) {
  // Starting values, not limits: an empty mesh prints their ratio.
  double minArea = 1e6;
  double maxArea = -1e8;
  const std::size_t faceCount = mesh.faces.size();
  for (std::size_t f = 0; f < faceCount; ++f) {
    const int32_t e0 = mesh.faces.at(f).edge;
    const Edge& edge0 = mesh.edges.at(e0);
    const Edge& edge1 = mesh.edges.at(edge0.next);
    const Edge& edge2 = mesh.edges.at(edge1.next);
    const double area = triangleArea(mesh.position(edge0.vertex), mesh.position(edge1.vertex),
                                     mesh.position(edge2.vertex));
    if (area > maxArea) maxArea = area;
    if (area < minArea) minArea = area;
  }
  const double ratio = maxArea / minArea;
  out << "Max/min area ratio=" << ratio << std::endl;
  out << "Relative error=" << ratio - 1 << std::endl;
}
