// Both passes of the consistency check. Every walk is bounded by the edge count: a
// loop that has visited more edges than exist without coming back never will.
#include "mesh/validate.h"

#include <cstdint>
#include <optional>

namespace {

bool fault(std::ostream& out, const char* message) {
  out << message << std::endl;
  return false;
}

// The two kinds of loop, each with its owners, its step and its messages. Every read
// is a checked access, so a bad index throws where the literal walk would.
struct FaceLoops {
  const Mesh& mesh;
  static constexpr const char* pass = faceLoopPass;
  static constexpr const char* foreignInPassOne =
      "pass1:Face refers to edge that does not refer to face";
  static constexpr const char* endlessInPassOne = "pass1:Face loop does not close";
  static constexpr const char* foreignInPassTwo =
      "pass2:Edges of same loop do not refer to same face";
  static constexpr const char* missingInPassTwo =
      "pass2:Edge is not in face loop of face it refers to";
  static constexpr const char* endlessInPassTwo = "pass2:Face loop does not close";
  std::size_t count() const { return mesh.faces.size(); }
  int32_t entry(std::size_t face) const { return mesh.faces.at(face).edge; }
  int32_t ownerOf(int32_t edge) const { return mesh.edges.at(edge).face; }
  bool holds(int32_t owner, int32_t edge) const { return mesh.edges.at(edge).face == owner; }
  int32_t step(int32_t edge) const { return mesh.nextEdge(edge); }
  // The fast pass's own range check: the edge a step of the walk reads.
  bool inRange(int32_t edge) const { return static_cast<uint32_t>(edge) < mesh.edges.size(); }
  void prefetch(int32_t edge) const { mesh.edges.prefetch(edge); }
};

struct VertexLoops {
  const Mesh& mesh;
  static constexpr const char* pass = vertexLoopPass;
  static constexpr const char* foreignInPassOne =
      "pass1:Vertex refers to edge that does not refer to vertex";
  static constexpr const char* endlessInPassOne = "pass1:Vertex loop does not close";
  static constexpr const char* foreignInPassTwo =
      "pass2:Edges of same loop do not refer to same vertex";
  static constexpr const char* missingInPassTwo =
      "pass2:Edge is not in vertex loop of vertex it refers to";
  static constexpr const char* endlessInPassTwo = "pass2:Vertex loop does not close";
  std::size_t count() const { return mesh.vertices.size(); }
  int32_t entry(std::size_t vertex) const { return mesh.vertices.at(vertex).edge; }
  int32_t ownerOf(int32_t edge) const { return mesh.endVertex(edge); }
  bool holds(int32_t owner, int32_t edge) const { return mesh.endVertex(edge) == owner; }
  int32_t step(int32_t edge) const { return mesh.nextAroundVertex(edge); }
  // A step reads the edge and its twin.
  bool inRange(int32_t edge) const {
    return static_cast<uint32_t>(edge) < mesh.edges.size() &&
           static_cast<uint32_t>(twin(edge)) < mesh.edges.size();
  }
  void prefetch(int32_t edge) const {
    mesh.edges.prefetch(edge);
    mesh.edges.prefetch(twin(edge));
  }
};

enum class Walk { closed, reached, foreign, endless };

// The literal walk of one loop: compare, test for the target, step, test for the start.
// Pass 1 looks for no target; an edge that passed `holds` is never -1.
constexpr int32_t noTarget = -1;

template <typename Loops>
Walk walkLoop(const Loops& loops, int32_t owner, int32_t start, int32_t target) {
  const std::size_t edgeCount = loops.mesh.edges.size();
  int32_t e = start;
  for (std::size_t compared = 1;; ++compared) {
    if (!loops.holds(owner, e)) return Walk::foreign;
    if (e == target) return Walk::reached;
    e = loops.step(e);
    if (e == start) return Walk::closed;
    if (compared >= edgeCount) return Walk::endless;
  }
}

// Pass 1 for one kind of loop, owners in index order.
template <typename Loops>
bool everyLoopHoldsOnlyItsOwn(const Loops& loops, std::ostream& out) {
  const std::size_t count = loops.count();
  for (std::size_t owner = 0; owner < count; ++owner) {
    const Walk walk = walkLoop(loops, static_cast<int32_t>(owner), loops.entry(owner), noTarget);
    if (walk == Walk::foreign) return fault(out, Loops::foreignInPassOne);
    if (walk == Walk::endless) return fault(out, Loops::endlessInPassOne);
  }
  return true;
}

// Pass 2's walk for one edge and one kind of loop.
template <typename Loops>
bool edgeInItsOwnersLoop(const Loops& loops, std::ostream& out, int32_t edge) {
  const int32_t owner = loops.ownerOf(edge);
  // A negative owner converts to a huge index, which the checked entry read rejects.
  switch (walkLoop(loops, owner, loops.entry(static_cast<std::size_t>(owner)), edge)) {
    case Walk::reached:
      return true;
    case Walk::foreign:
      return fault(out, Loops::foreignInPassTwo);
    case Walk::closed:
      return fault(out, Loops::missingInPassTwo);
    case Walk::endless:
      break;
  }
  return fault(out, Loops::endlessInPassTwo);
}

}  // namespace

bool checkEdgeLoopsByWalking(const Mesh& mesh, std::ostream& out) {
  const std::size_t edgeCount = mesh.edges.size();
  for (std::size_t j = 0; j < edgeCount; ++j) {
    const auto edge = static_cast<int32_t>(j);
    if (!edgeInItsOwnersLoop(FaceLoops{mesh}, out, edge)) return false;
    if (!edgeInItsOwnersLoop(VertexLoops{mesh}, out, edge)) return false;
  }
  return true;
}

bool validateByWalking(const Mesh& mesh, std::ostream& out) {
  return everyLoopHoldsOnlyItsOwn(FaceLoops{mesh}, out) &&
         everyLoopHoldsOnlyItsOwn(VertexLoops{mesh}, out) && checkEdgeLoopsByWalking(mesh, out);
}

namespace {

// Pass 1's loops are independent of one another, and on a large mesh every step of a
// walk misses the cache. So the fast pass keeps many walks in flight, advancing each
// by one edge per round and prefetching the edge it will read next round, and adds to
// `accepted` every edge a walk compared and found its owner's. It only answers "every
// loop is sound" or "in doubt"; on doubt the literal walks run and produce the exact
// message or exception. It checks every index itself first, so a bad one is a doubt,
// never an exception.
template <typename Loops>
bool allLoopsSound(const Loops& loops, std::size_t& accepted, StepProgress* progress) {
  struct LoopInFlight {
    int32_t owner, start, edge;
    std::size_t compared;
  };
  constexpr int walksInFlight = 48;
  LoopInFlight walks[walksInFlight];
  int active = 0;
  std::size_t nextOwner = 0;
  const std::size_t ownerCount = loops.count();
  const std::size_t edgeCount = loops.mesh.edges.size();
  auto begin = [&](LoopInFlight& walk) {
    walk.owner = static_cast<int32_t>(nextOwner);
    walk.start = walk.edge = loops.entry(nextOwner);
    walk.compared = 0;
    ++nextOwner;
    loops.prefetch(walk.edge);
    reportProgress(progress, Loops::pass, nextOwner, ownerCount);
  };
  while (active < walksInFlight && nextOwner < ownerCount) begin(walks[active++]);
  while (active > 0) {
    for (int w = 0; w < active;) {
      LoopInFlight& walk = walks[w];
      if (!loops.inRange(walk.edge) || !loops.holds(walk.owner, walk.edge)) return false;
      ++walk.compared;
      const int32_t next = loops.step(walk.edge);
      if (next == walk.start) {
        accepted += walk.compared;
        if (nextOwner < ownerCount) {
          begin(walk);
          ++w;
        } else {
          walk = walks[--active];  // the last walk takes this place and runs next
        }
        continue;
      }
      if (walk.compared >= edgeCount) return false;
      walk.edge = next;
      loops.prefetch(next);
      ++w;
    }
  }
  return true;
}

// The face loops of a triangle mesh, three edges each, checked in a pipeline of five
// stages one `stage` of faces apart: the face `entering` has its entry edge read, the faces
// at its first, second and third edge have that edge read, and the face `measured` has its
// corners read, each once its prefetch has had time to arrive. True only when every
// face loop is three different edges of its own face that close and every corner is a
// vertex, which is what allLoopsSound<FaceLoops> would accept, three edges a face; and
// `areas` then holds the extremes printStatistics finds, from the same three edges in
// the same face order. False is a doubt, with no exception either.
// Validate at 7.9 M faces, before the corners were added: 0.87 of the time of the general
// walks (A/B, 5 pairs, at ae23d0f). Measuring the areas here makes the check longer and
// spares the statistics their own walk: both together in 0.83 of their time apart
// (interleaved A/B, 7 runs each, at d3111b2).
bool allFacesSoundTriangles(const Mesh& mesh, AreaRange& areas, StepProgress* progress) {
  struct TriangleInFlight {
    int32_t e0, e1, e2;
    int32_t v0, v1, v2;
  };
  constexpr std::ptrdiff_t stage = 16;
  constexpr std::ptrdiff_t ringSize = 128;  // a power of two above four stages
  static_assert(ringSize > 4 * stage, "the ring holds every face in flight");
  TriangleInFlight ring[ringSize];
  const FaceLoops loops{mesh};
  const auto isVertex = [&mesh](int32_t vertex) {
    return static_cast<uint32_t>(vertex) < mesh.vertices.size();
  };
  const auto faceCount = static_cast<std::ptrdiff_t>(mesh.faces.size());
  for (std::ptrdiff_t measured = -4 * stage; measured < faceCount; ++measured) {
    if (const std::ptrdiff_t entering = measured + 4 * stage; entering < faceCount) {
      TriangleInFlight& face = ring[entering & (ringSize - 1)];
      face.e0 = mesh.faces.at(entering).edge;
      if (!loops.inRange(face.e0)) return false;
      mesh.edges.prefetch(face.e0);
    }
    if (const std::ptrdiff_t atFirstEdge = measured + 3 * stage;
        atFirstEdge >= 0 && atFirstEdge < faceCount) {
      TriangleInFlight& face = ring[atFirstEdge & (ringSize - 1)];
      const Edge& e0 = mesh.edges.at(face.e0);
      face.e1 = e0.next;
      face.v0 = e0.vertex;
      if (e0.face != atFirstEdge || !loops.inRange(face.e1) || !isVertex(face.v0)) return false;
      mesh.edges.prefetch(face.e1);
      mesh.vertices.prefetch(face.v0);
    }
    if (const std::ptrdiff_t atSecondEdge = measured + 2 * stage;
        atSecondEdge >= 0 && atSecondEdge < faceCount) {
      TriangleInFlight& face = ring[atSecondEdge & (ringSize - 1)];
      const Edge& e1 = mesh.edges.at(face.e1);
      face.e2 = e1.next;
      face.v1 = e1.vertex;
      if (e1.face != atSecondEdge || !loops.inRange(face.e2) || !isVertex(face.v1)) return false;
      mesh.edges.prefetch(face.e2);
      mesh.vertices.prefetch(face.v1);
    }
    if (const std::ptrdiff_t atThirdEdge = measured + stage;
        atThirdEdge >= 0 && atThirdEdge < faceCount) {
      TriangleInFlight& face = ring[atThirdEdge & (ringSize - 1)];
      const Edge& e2 = mesh.edges.at(face.e2);
      face.v2 = e2.vertex;
      if (e2.face != atThirdEdge || e2.next != face.e0 || !isVertex(face.v2)) return false;
      mesh.vertices.prefetch(face.v2);
    }
    if (measured < 0) continue;
    reportProgress(progress, FaceLoops::pass, static_cast<std::size_t>(measured),
                   static_cast<std::size_t>(faceCount));
    const TriangleInFlight& face = ring[measured & (ringSize - 1)];
    if (face.e0 == face.e1 || face.e1 == face.e2 || face.e2 == face.e0) return false;
    includeArea(areas, triangleArea(mesh.position(face.v0), mesh.position(face.v1),
                                    mesh.position(face.v2)));
  }
  return true;
}

}  // namespace

// Pass 2 answered by counting. A walk of pass 1 that comes back to its start has met
// no edge twice (a repeat before the return would make the walk cycle without the
// start), and an edge it accepts names its owner (its face, or its end vertex), so the
// walks of different owners share no edge. After a clean pass 1 the accepted edges of
// one loop kind therefore number edgeCount exactly when every edge lies in the loop of
// its own owner as walked from the owner's entry. Pass 2 then reads, for each edge, an
// owner in range and walks that same closed loop of at most edgeCount edges, all its
// owner's, up to the edge: both of its walks succeed, with nothing printed or thrown.
// Any total short of edgeCount sends the literal pass 2 from edge 0, which gives the
// exact message or exception.
// Counting instead of keeping a bit per edge and loop kind: validate at 7.9 M faces in 0.85
// of the time (interleaved A/B, 7 pairs, at 1983842), and no memory to allocate.
bool validateMeasuringAreas(const Mesh& mesh, std::ostream& out, std::optional<AreaRange>& areas,
                            StepProgress* progress) {
  areas.reset();
  const std::size_t edgeCount = mesh.edges.size();
  std::size_t inFaceLoops = 0;
  std::size_t inVertexLoops = 0;
  AreaRange measured;
  // The literal walks may print a fault: the progress line must be gone before they start,
  // or the message would be written onto it.
  const auto walkedAfterTheProgress = [&](bool (*walk)(const Mesh&, std::ostream&)) {
    if (progress != nullptr) progress->finished();
    return walk(mesh, out);
  };
  if (allFacesSoundTriangles(mesh, measured, progress)) {
    areas = measured;
    inFaceLoops = 3 * mesh.faces.size();
  } else if (!allLoopsSound(FaceLoops{mesh}, inFaceLoops, progress)) {
    // Some face is not a sound triangle and the general walks doubt too.
    return walkedAfterTheProgress(validateByWalking);
  }
  if (!allLoopsSound(VertexLoops{mesh}, inVertexLoops, progress)) {
    return walkedAfterTheProgress(validateByWalking);
  }
  if (inFaceLoops == edgeCount && inVertexLoops == edgeCount) return true;
  return walkedAfterTheProgress(checkEdgeLoopsByWalking);
}

bool Mesh::validate(std::ostream& out) const {
  std::optional<AreaRange> areas;
  return validateMeasuringAreas(*this, out, areas);
}
