// Refinement toward the unit sphere: faces split at their centroids, edges at their
// midpoints, every new vertex scaled to unit length.
#include "mesh/refine.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

#include "geom/assert.h"
#include "mesh/statistics.h"

namespace {

Vertex vertexAt(const Vector3& position, int32_t edge) {
  return Vertex{position.x, position.y, position.z, edge};
}

struct Growth {
  std::size_t vertices, edges, faces;
};

// Both splits add one vertex, three edge pairs and two faces each.
Growth growthFor(std::size_t splits) { return {splits, 6 * splits, 2 * splits}; }

std::size_t edgeSplitsOfNextStep(const Refinement& refinement) {
  const std::vector<int32_t>& ranges = refinement.splitRanges;
  std::size_t splits = 0;
  for (std::size_t r = static_cast<std::size_t>(refinement.splitPhase); r + 1 < ranges.size();
       r += 2) {
    for (int64_t i = ranges[r]; i < ranges[r + 1]; i += 2) ++splits;
  }
  return splits;
}

// Reserves room for the whole step before any record changes, so a step that does not
// fit fails here and leaves the mesh as it was. Links are 32-bit: a step whose edge
// count would not fit in them cannot be made either.
bool reserveForStep(Mesh& mesh, Refinement& refinement, const Growth& growth) {
  const std::size_t edgesAfter = mesh.edges.size() + growth.edges;
  if (edgesAfter > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) return false;
  try {
    mesh.vertices.reserveResident(mesh.vertices.size() + growth.vertices);
    mesh.edges.reserveResident(edgesAfter);
    mesh.faces.reserveResident(mesh.faces.size() + growth.faces);
    refinement.splitRanges.reserve(refinement.splitRanges.size() + 3);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// An edge split touches about ten records scattered over the mesh, and each one read
// in turn would wait for memory. The splits of a step walk their edges in index order,
// so the records of the splits a few dozen edges ahead are fetched now, in two stages:
// the neighbours of the far edge first, then their own neighbours for the near one,
// whose first neighbours have arrived by then. The hints change nothing in the mesh.
constexpr int32_t splitsAhead = 16;

void prefetchSplit(const Mesh& mesh, int32_t far, int32_t near, int32_t end) {
  const auto edgeCount = static_cast<uint32_t>(mesh.edges.size());
  const Edge* edges = mesh.edges.data();
  if (far < end && static_cast<uint32_t>(far) + 1 < edgeCount) {
    const Edge& a = edges[far];
    const Edge& t = edges[far + 1];
    mesh.edges.prefetch(a.next);
    mesh.edges.prefetch(t.next);
    mesh.vertices.prefetch(a.vertex);
    mesh.vertices.prefetch(t.vertex);
    mesh.faces.prefetch(a.face);
    mesh.faces.prefetch(t.face);
  }
  if (near < end && static_cast<uint32_t>(near) + 1 < edgeCount) {
    for (const int32_t side : {edges[near].next, edges[near + 1].next}) {
      if (static_cast<uint32_t>(side) >= edgeCount) continue;
      const int32_t following = edges[side].next;
      mesh.edges.prefetch(twin(side));
      mesh.edges.prefetch(following);
      mesh.edges.prefetch(twin(following));
      if (static_cast<uint32_t>(twin(side)) < edgeCount) {
        mesh.vertices.prefetch(edges[twin(side)].vertex);
      }
    }
  }
}

}  // namespace

void Mesh::splitFaces(std::ostream& out) {
  const std::size_t faceCount = faces.size();
  for (std::size_t i = 0; i < faceCount; ++i) {
    const auto face = static_cast<int32_t>(i);
    int32_t e0 = faces.at(i).edge;
    int32_t e1 = nextEdge(e0);
    int32_t e2 = nextEdge(e1);
    const int32_t p = edges.at(e0).vertex;
    const int32_t q = edges.at(e1).vertex;
    const int32_t r = edges.at(e2).vertex;
    Vector3 centre = ((position(p) + position(q)) + position(r)) * 0.3333333333333333;
    normalize(centre);
    const auto m = static_cast<int32_t>(vertices.size());
    addVertex(vertexAt(centre, static_cast<int32_t>(edges.size())));
    int32_t sP = addEdgePair(p, m);
    int32_t sQ = addEdgePair(q, m);
    int32_t sR = addEdgePair(r, m);
    setFace(face, e0, sQ, sP);
    addFace(e1, sR, sQ);
    addFace(e2, sP, sR);
  }
  my_assert(validate(out));
}

int32_t Mesh::splitEdge(int32_t a) {
  int32_t b = nextEdge(a);
  int32_t d = nextEdge(b);
  const int32_t t = twin(a);
  int32_t c = nextEdge(t);
  int32_t g = nextEdge(c);
  const int32_t fa = edges.at(a).face;
  const int32_t ft = edges.at(t).face;
  const int32_t p = edges.at(a).vertex;
  const int32_t q = endVertex(a);
  const int32_t r = endVertex(b);
  const int32_t s = endVertex(c);

  // Q keeps an entry edge that still ends at it once a ends at the midpoint.
  vertices.at(q).edge = twin(b);
  // The sum is not halved: scaling to unit length makes that unnecessary.
  Vector3 middle = position(q) + position(p);
  normalize(middle);
  const auto m = static_cast<int32_t>(vertices.size());
  addVertex(vertexAt(middle, a));
  edges.at(t).vertex = m;

  int32_t toQ = addEdgePair(m, q);
  int32_t toR = addEdgePair(m, r);
  int32_t toS = addEdgePair(m, s);
  setFace(fa, a, toR, d);
  setFace(ft, toQ, toS, g);
  addFace(toQ, b, toR);
  return addFace(a, c, toS);
}

StepSplit splitForStep(Mesh& mesh, Refinement& refinement, std::ostream& out) {
  std::vector<int32_t>& ranges = refinement.splitRanges;
  const bool first = ranges.empty();
  const std::size_t splits = first ? mesh.faces.size() : edgeSplitsOfNextStep(refinement);
  if (!reserveForStep(mesh, refinement, growthFor(splits))) {
    out << "Not enough memory for the next refinement step" << std::endl;
    return StepSplit::refused;
  }
  if (first) {
    mesh.splitFaces(out);
    // The first range is the icosahedron's own edges, whatever the mesh held.
    ranges.push_back(0);
    ranges.push_back(60);
    ranges.push_back(static_cast<int32_t>(mesh.edges.size()));
    refinement.splitPhase = 0;
    return StepSplit::faces;
  }
  for (std::size_t r = static_cast<std::size_t>(refinement.splitPhase); r + 1 < ranges.size();
       r += 2) {
    const int32_t end = ranges[r + 1];
    for (int32_t i = ranges[r]; i < end; i += 2) {
      const int32_t left = end - i;
      prefetchSplit(mesh, left > 4 * splitsAhead ? i + 4 * splitsAhead : end,
                    left > 2 * splitsAhead ? i + 2 * splitsAhead : end, end);
      mesh.splitEdge(i);
    }
  }
  ranges.push_back(static_cast<int32_t>(mesh.edges.size()));
  refinement.splitPhase = refinement.splitPhase == 0 ? 1 : 0;
  return StepSplit::edges;
}

void refineStep(Mesh& mesh, Refinement& refinement, std::ostream& out, std::istream& in) {
  const StepSplit split = splitForStep(mesh, refinement, out);
  if (split == StepSplit::refused) return;
  // The face splits have checked themselves already, fatally.
  if (split == StepSplit::edges && !mesh.validate(out)) {
    char pause;
    in >> pause;
  }
  printStatistics(mesh, out);
  out << "Face count: " << mesh.faces.size() << std::endl;
}
