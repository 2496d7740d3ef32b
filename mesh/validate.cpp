// Both passes of the consistency check. Every walk is bounded by the edge count: a
// loop that has visited more edges than exist without coming back never will.
#include "mesh/validate.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "mesh/shared_pass.h"

namespace {

bool fault(std::ostream& out, const char* message) {
  out << message << std::endl;
  return false;
}

// The two kinds of loop, each with its owners, its step and its messages. Every read
// is a checked access, so a bad index throws where the literal walk would.
struct FaceLoops {
  const Mesh& mesh;
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
// Checks the loops of owners [first, end).
template <typename Loops>
bool allLoopsSound(const Loops& loops, std::size_t first, std::size_t end, std::size_t& accepted) {
  struct LoopInFlight {
    int32_t owner, start, edge;
    std::size_t compared;
  };
  constexpr int walksInFlight = 48;
  LoopInFlight walks[walksInFlight];
  int active = 0;
  std::size_t nextOwner = first;
  const std::size_t edgeCount = loops.mesh.edges.size();
  auto begin = [&](LoopInFlight& walk) {
    walk.owner = static_cast<int32_t>(nextOwner);
    walk.start = walk.edge = loops.entry(nextOwner);
    walk.compared = 0;
    ++nextOwner;
    loops.prefetch(walk.edge);
  };
  while (active < walksInFlight && nextOwner < end) begin(walks[active++]);
  while (active > 0) {
    for (int w = 0; w < active;) {
      LoopInFlight& walk = walks[w];
      if (!loops.inRange(walk.edge) || !loops.holds(walk.owner, walk.edge)) return false;
      ++walk.compared;
      const int32_t next = loops.step(walk.edge);
      if (next == walk.start) {
        accepted += walk.compared;
        if (nextOwner < end) {
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
// Faces [first, end) are checked; their areas go into `areas`.
bool allFacesSoundTriangles(const Mesh& mesh, std::ptrdiff_t first, std::ptrdiff_t end,
                            AreaRange& areas) {
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
  for (std::ptrdiff_t measured = first - 4 * stage; measured < end; ++measured) {
    if (const std::ptrdiff_t entering = measured + 4 * stage; entering < end) {
      TriangleInFlight& face = ring[entering & (ringSize - 1)];
      face.e0 = mesh.faces.at(entering).edge;
      if (!loops.inRange(face.e0)) return false;
      mesh.edges.prefetch(face.e0);
    }
    if (const std::ptrdiff_t atFirstEdge = measured + 3 * stage;
        atFirstEdge >= first && atFirstEdge < end) {
      TriangleInFlight& face = ring[atFirstEdge & (ringSize - 1)];
      const Edge& e0 = mesh.edges.at(face.e0);
      face.e1 = e0.next;
      face.v0 = e0.vertex;
      if (e0.face != atFirstEdge || !loops.inRange(face.e1) || !isVertex(face.v0)) return false;
      mesh.edges.prefetch(face.e1);
      mesh.vertices.prefetch(face.v0);
    }
    if (const std::ptrdiff_t atSecondEdge = measured + 2 * stage;
        atSecondEdge >= first && atSecondEdge < end) {
      TriangleInFlight& face = ring[atSecondEdge & (ringSize - 1)];
      const Edge& e1 = mesh.edges.at(face.e1);
      face.e2 = e1.next;
      face.v1 = e1.vertex;
      if (e1.face != atSecondEdge || !loops.inRange(face.e2) || !isVertex(face.v1)) return false;
      mesh.edges.prefetch(face.e2);
      mesh.vertices.prefetch(face.v1);
    }
    if (const std::ptrdiff_t atThirdEdge = measured + stage;
        atThirdEdge >= first && atThirdEdge < end) {
      TriangleInFlight& face = ring[atThirdEdge & (ringSize - 1)];
      const Edge& e2 = mesh.edges.at(face.e2);
      face.v2 = e2.vertex;
      if (e2.face != atThirdEdge || e2.next != face.e0 || !isVertex(face.v2)) return false;
      mesh.vertices.prefetch(face.v2);
    }
    if (measured < first) continue;
    const TriangleInFlight& face = ring[measured & (ringSize - 1)];
    if (face.e0 == face.e1 || face.e1 == face.e2 || face.e2 == face.e0) return false;
    includeArea(areas, triangleArea(mesh.position(face.v0), mesh.position(face.v1),
                                    mesh.position(face.v2)));
  }
  return true;
}

// The passes above shared among threads. Each thread gathers into its own result, on a line
// of its own so that the threads do not contend for it; the results combine exactly: a doubt
// anywhere is a doubt, the edge counts add up, and the extremes of the areas are the extremes
// of the threads' extremes, whatever the order the faces were measured in (a NaN area changes
// neither end in any order, and no area is -0, which only a negative sum of squares gives).
class SoundTrianglesPass : public SharedPass {
 public:
  explicit SoundTrianglesPass(const Mesh& mesh) : mesh_(mesh) {}
  bool checkChunk(std::size_t first, std::size_t end, unsigned thread) override {
    return allFacesSoundTriangles(mesh_, static_cast<std::ptrdiff_t>(first),
                                  static_cast<std::ptrdiff_t>(end), results_[thread].areas);
  }
  AreaRange areas() const {
    AreaRange all;
    for (const Result& result : results_) {
      if (result.areas.maxArea > all.maxArea) all.maxArea = result.areas.maxArea;
      if (result.areas.minArea < all.minArea) all.minArea = result.areas.minArea;
    }
    return all;
  }

 private:
  struct alignas(64) Result {
    AreaRange areas;
  };
  const Mesh& mesh_;
  Result results_[maxStepThreads];
};

template <typename Loops>
class SoundLoopsPass : public SharedPass {
 public:
  explicit SoundLoopsPass(const Mesh& mesh) : loops_{mesh} {}
  bool checkChunk(std::size_t first, std::size_t end, unsigned thread) override {
    return allLoopsSound(loops_, first, end, results_[thread].accepted);
  }
  std::size_t accepted() const {
    std::size_t all = 0;
    for (const Result& result : results_) all += result.accepted;
    return all;
  }

 private:
  struct alignas(64) Result {
    std::size_t accepted = 0;
  };
  Loops loops_;
  Result results_[maxStepThreads];
};

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
                            StepProgress* progress, const StepThreads& threads,
                            unsigned* threadsUsed) {
  areas.reset();
  const std::size_t edgeCount = mesh.edges.size();
  unsigned mostThreads = 1;
  const auto sound = [&](SharedPass& pass, std::size_t count, const char* passName) {
    const SharedRun run = runSharedPass(pass, count, threads, progress, passName);
    mostThreads = std::max(mostThreads, run.threads);
    if (threadsUsed != nullptr) *threadsUsed = mostThreads;
    return run.sound;
  };
  // The literal walks may print a fault: the progress line must be gone before they start,
  // or the message would be written onto it. They run on the calling thread alone.
  const auto walkedAfterTheProgress = [&](bool (*walk)(const Mesh&, std::ostream&)) {
    if (progress != nullptr) progress->finished();
    return walk(mesh, out);
  };
  std::size_t inFaceLoops = 0;
  SoundTrianglesPass triangles(mesh);
  if (sound(triangles, mesh.faces.size(), faceLoopPass)) {
    areas = triangles.areas();
    inFaceLoops = 3 * mesh.faces.size();
  } else {
    // Some face is not a sound triangle: the general walks, which doubt too or count.
    SoundLoopsPass<FaceLoops> faceLoops(mesh);
    if (!sound(faceLoops, mesh.faces.size(), faceLoopPass)) {
      return walkedAfterTheProgress(validateByWalking);
    }
    inFaceLoops = faceLoops.accepted();
  }
  SoundLoopsPass<VertexLoops> vertexLoops(mesh);
  if (!sound(vertexLoops, mesh.vertices.size(), vertexLoopPass)) {
    return walkedAfterTheProgress(validateByWalking);
  }
  if (inFaceLoops == edgeCount && vertexLoops.accepted() == edgeCount) return true;
  return walkedAfterTheProgress(checkEdgeLoopsByWalking);
}

bool Mesh::validate(std::ostream& out) const {
  std::optional<AreaRange> areas;
  return validateMeasuringAreas(*this, out, areas);
}
