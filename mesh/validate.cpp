// Both passes of the consistency check. Every walk is bounded by the edge count: a
// loop that has visited more edges than exist without coming back never will.
#include "mesh/validate.h"

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

namespace {

bool fault(std::ostream& out, const char* message) {
  out << message << std::endl;
  return false;
}

// Which edges the walks of pass 1 reached, one bit per edge and loop kind.
class EdgeBits {
 public:
  // One spare bit: with an odd edge count the vertex walk may name the edge past the end.
  explicit EdgeBits(std::size_t edgeCount) : words_(edgeCount / 64 + 1, 0) {}
  void set(int32_t edge) { words_[static_cast<std::size_t>(edge) >> 6] |= bit(edge); }
  bool test(int32_t edge) const {
    return (words_[static_cast<std::size_t>(edge) >> 6] & bit(edge)) != 0;
  }
  // All 64 edges from `first` on, which must be a multiple of 64.
  bool allSet(std::size_t first) const { return words_[first >> 6] == ~uint64_t{0}; }

 private:
  static uint64_t bit(int32_t edge) { return uint64_t{1} << (static_cast<uint32_t>(edge) & 63); }
  std::vector<uint64_t> words_;
};

// Pass 1 in index order. When given bits, it records every edge a successful walk
// compared, which is everything pass 2 needs to know about those loops.
bool walkPassOne(const Mesh& mesh, std::ostream& out, EdgeBits* inFaceLoop,
                 EdgeBits* inVertexLoop) {
  const std::size_t edgeCount = mesh.edges.size();
  const std::size_t faceCount = mesh.faces.size();
  for (std::size_t f = 0; f < faceCount; ++f) {
    const auto face = static_cast<int32_t>(f);
    const int32_t start = mesh.faces.at(f).edge;
    int32_t e = start;
    std::size_t compared = 0;
    while (true) {
      if (mesh.edges.at(e).face != face) {
        return fault(out, "pass1:Face refers to edge that does not refer to face");
      }
      if (inFaceLoop) inFaceLoop->set(e);
      ++compared;
      e = mesh.nextEdge(e);
      if (e == start) break;
      if (compared >= edgeCount) return fault(out, "pass1:Face loop does not close");
    }
  }
  const std::size_t vertexCount = mesh.vertices.size();
  for (std::size_t v = 0; v < vertexCount; ++v) {
    const auto vertex = static_cast<int32_t>(v);
    const int32_t start = mesh.vertices.at(v).edge;
    int32_t e = start;
    std::size_t compared = 0;
    while (true) {
      if (mesh.endVertex(e) != vertex) {
        return fault(out, "pass1:Vertex refers to edge that does not refer to vertex");
      }
      if (inVertexLoop) inVertexLoop->set(e);
      ++compared;
      e = mesh.nextAroundVertex(e);
      if (e == start) break;
      if (compared >= edgeCount) return fault(out, "pass1:Vertex loop does not close");
    }
  }
  return true;
}

}  // namespace

bool checkEdgeLoopsByWalking(const Mesh& mesh, std::ostream& out, std::size_t firstEdge) {
  const std::size_t edgeCount = mesh.edges.size();
  for (std::size_t j = firstEdge; j < edgeCount; ++j) {
    const auto edge = static_cast<int32_t>(j);
    const int32_t face = mesh.edges.at(j).face;
    int32_t start = mesh.faces.at(face).edge;
    int32_t e = start;
    std::size_t compared = 0;
    while (true) {
      if (mesh.edges.at(e).face != face) {
        return fault(out, "pass2:Edges of same loop do not refer to same face");
      }
      if (e == edge) break;
      ++compared;
      e = mesh.nextEdge(e);
      if (e == start) return fault(out, "pass2:Edge is not in face loop of face it refers to");
      if (compared >= edgeCount) return fault(out, "pass2:Face loop does not close");
    }
    const int32_t end = mesh.endVertex(edge);
    start = mesh.vertices.at(end).edge;
    e = start;
    compared = 0;
    while (true) {
      if (mesh.endVertex(e) != end) {
        return fault(out, "pass2:Edges of same loop do not refer to same vertex");
      }
      if (e == edge) break;
      ++compared;
      e = mesh.nextAroundVertex(e);
      if (e == start) {
        return fault(out, "pass2:Edge is not in vertex loop of vertex it refers to");
      }
      if (compared >= edgeCount) return fault(out, "pass2:Vertex loop does not close");
    }
  }
  return true;
}

bool validateByWalking(const Mesh& mesh, std::ostream& out) {
  return walkPassOne(mesh, out, nullptr, nullptr) && checkEdgeLoopsByWalking(mesh, out, 0);
}

namespace {

// Pass 1's loops are independent of one another, and on a large mesh every step of a
// walk misses the cache. So the fast pass keeps many walks in flight, advancing each
// by one edge per round and prefetching the edge it will read next round. It only
// answers "every loop is sound" or "in doubt"; on doubt the literal walks run and
// produce the exact message or exception. It reads through its own range checks so
// that a bad index is a doubt, never an exception of its own.
struct FaceLoops {
  const Mesh& mesh;
  EdgeBits& seen;
  std::size_t count() const { return mesh.faces.size(); }
  int32_t entry(std::size_t face) const { return mesh.faces.at(face).edge; }
  bool inRange(int32_t edge) const {
    return static_cast<uint32_t>(edge) < mesh.edges.size();
  }
  bool holds(int32_t owner, int32_t edge) const { return mesh.edges.at(edge).face == owner; }
  int32_t step(int32_t edge) const { return mesh.edges.at(edge).next; }
  void prefetch(int32_t edge) const { mesh.edges.prefetch(edge); }
};

struct VertexLoops {
  const Mesh& mesh;
  EdgeBits& seen;
  std::size_t count() const { return mesh.vertices.size(); }
  int32_t entry(std::size_t vertex) const { return mesh.vertices.at(vertex).edge; }
  // The walk reads the edge and its twin.
  bool inRange(int32_t edge) const {
    return static_cast<uint32_t>(edge) < mesh.edges.size() &&
           static_cast<uint32_t>(twin(edge)) < mesh.edges.size();
  }
  bool holds(int32_t owner, int32_t edge) const { return mesh.endVertex(edge) == owner; }
  int32_t step(int32_t edge) const { return mesh.nextAroundVertex(edge); }
  void prefetch(int32_t edge) const {
    mesh.edges.prefetch(edge);
    mesh.edges.prefetch(twin(edge));
  }
};

template <typename Loops>
bool allLoopsSound(const Loops& loops) {
  struct Walk {
    int32_t owner, start, edge;
    std::size_t compared;
  };
  constexpr int walksInFlight = 48;
  Walk walks[walksInFlight];
  int active = 0;
  std::size_t nextOwner = 0;
  const std::size_t ownerCount = loops.count();
  const std::size_t edgeCount = loops.mesh.edges.size();
  auto begin = [&](Walk& walk) {
    walk.owner = static_cast<int32_t>(nextOwner);
    walk.start = walk.edge = loops.entry(nextOwner);
    walk.compared = 0;
    ++nextOwner;
    loops.prefetch(walk.edge);
  };
  while (active < walksInFlight && nextOwner < ownerCount) begin(walks[active++]);
  while (active > 0) {
    for (int w = 0; w < active;) {
      Walk& walk = walks[w];
      if (!loops.inRange(walk.edge) || !loops.holds(walk.owner, walk.edge)) return false;
      loops.seen.set(walk.edge);
      ++walk.compared;
      const int32_t next = loops.step(walk.edge);
      if (next == walk.start) {
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

std::size_t firstUnseen(const EdgeBits& inFaceLoop, const EdgeBits& inVertexLoop,
                        std::size_t edgeCount) {
  for (std::size_t j = 0; j < edgeCount; ++j) {
    const auto edge = static_cast<int32_t>(j);
    if ((j & 63) == 0 && j + 64 <= edgeCount && inFaceLoop.allSet(j) && inVertexLoop.allSet(j)) {
      j += 63;
      continue;
    }
    if (!inFaceLoop.test(edge) || !inVertexLoop.test(edge)) return j;
  }
  return edgeCount;
}

}  // namespace

// After a clean pass 1 every face loop and vertex loop closes and holds only edges of
// its own face or vertex. Pass 2's walks for edge j then cover one of those loops, so
// they succeed exactly when pass 1 saw j in both loop kinds. The literal pass 2 takes
// over at the first edge pass 1 did not see, so the message and any exception stay
// the literal ones.
bool Mesh::validate(std::ostream& out) const {
  std::optional<EdgeBits> inFaceLoop;
  std::optional<EdgeBits> inVertexLoop;
  try {
    inFaceLoop.emplace(edges.size());
    inVertexLoop.emplace(edges.size());
  } catch (const std::bad_alloc&) {
    // Memory is short right after the largest step; the literal walks need none.
    return validateByWalking(*this, out);
  }
  if (!allLoopsSound(FaceLoops{*this, *inFaceLoop}) ||
      !allLoopsSound(VertexLoops{*this, *inVertexLoop})) {
    return validateByWalking(*this, out);
  }
  const std::size_t unseen = firstUnseen(*inFaceLoop, *inVertexLoop, edges.size());
  if (unseen == edges.size()) return true;
  return checkEdgeLoopsByWalking(*this, out, unseen);
}
