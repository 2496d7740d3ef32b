#include "mesh/statistics.h"

double triangleArea(const Vector3& p, const Vector3& q, const Vector3& r) {
  const Vector3 u = q - p;
  const Vector3 w = r - p;
  const Vector3 n = cross(u, w);
  return 0.5 * length(n);
}

void printAreaRange(const AreaRange& range, std::ostream& out) {
  const double ratio = range.maxArea / range.minArea;
  out << "Max/min area ratio=" << ratio << std::endl;
  out << "Relative error=" << ratio - 1 << std::endl;
}

namespace {

// What is known of a face while its records are on their way into the cache.
struct FaceInFlight {
  int32_t e1, e2;
  int32_t v0, v1, v2;
};

}  // namespace

// Each face needs four dependent reads before its corners are known, and on a large
// mesh each one misses the cache. So the walk runs as a pipeline: every iteration reads
// one record for each of several faces further ahead and prefetches the next record
// those faces need, one stage apart. Minimum and maximum do not depend on the order of
// the faces, and any out-of-range link still throws before anything is printed.
void printStatistics(const Mesh& mesh, std::ostream& out) {
  AreaRange range;
  constexpr std::ptrdiff_t stage = 16;
  constexpr std::ptrdiff_t ringSize = 128;  // a power of two above four stages
  static_assert(ringSize > 4 * stage, "the ring holds every face in flight");
  FaceInFlight ring[ringSize];
  const auto faceCount = static_cast<std::ptrdiff_t>(mesh.faces.size());
  for (std::ptrdiff_t f = -4 * stage; f < faceCount; ++f) {
    if (const std::ptrdiff_t a = f + 4 * stage; a < faceCount) {
      FaceInFlight& face = ring[a & (ringSize - 1)];
      face.e1 = mesh.faces.at(a).edge;  // e0 for now
      mesh.edges.prefetch(face.e1);
    }
    if (const std::ptrdiff_t b = f + 3 * stage; b >= 0 && b < faceCount) {
      FaceInFlight& face = ring[b & (ringSize - 1)];
      const Edge& e0 = mesh.edges.at(face.e1);
      face.v0 = e0.vertex;
      face.e1 = e0.next;
      mesh.edges.prefetch(face.e1);
      mesh.vertices.prefetch(face.v0);
    }
    if (const std::ptrdiff_t c = f + 2 * stage; c >= 0 && c < faceCount) {
      FaceInFlight& face = ring[c & (ringSize - 1)];
      const Edge& e1 = mesh.edges.at(face.e1);
      face.v1 = e1.vertex;
      face.e2 = e1.next;
      mesh.edges.prefetch(face.e2);
      mesh.vertices.prefetch(face.v1);
    }
    if (const std::ptrdiff_t d = f + stage; d >= 0 && d < faceCount) {
      FaceInFlight& face = ring[d & (ringSize - 1)];
      face.v2 = mesh.edges.at(face.e2).vertex;
      mesh.vertices.prefetch(face.v2);
    }
    if (f < 0) continue;
    const FaceInFlight& face = ring[f & (ringSize - 1)];
    const double area =
        triangleArea(mesh.position(face.v0), mesh.position(face.v1), mesh.position(face.v2));
    includeArea(range, area);
  }
  printAreaRange(range, out);
}
