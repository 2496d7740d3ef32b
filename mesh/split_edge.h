#pragma once
// One edge split two ways: the literal Mesh::splitEdge, and a direct one that makes the
// same records with plain writes when a check up front shows the literal one would run
// its usual cases; and what a pass of splits fetches ahead of them.

#include <cstddef>
#include <cstdint>

#include "mesh/mesh.h"

// What one split adds: an edge split, and the face split for each face it splits.
constexpr std::size_t verticesPerSplit = 1;
constexpr std::size_t edgesPerSplit = 6;
constexpr std::size_t facesPerSplit = 2;

// Everything the split of edge `a` reads before its first write.
struct EdgeSplit {
  int32_t a, b, c, d, g;  // a, b, d: the loop of a's face; t = twin(a), c, g: the other loop
  int32_t fa, ft;         // the faces of a and of twin(a)
  int32_t p, q, r, s;     // start and end of a, the corners opposite a and twin(a)
};

// Changes nothing and never throws. True when Mesh::splitEdge(edge) would pass every
// check, throw nothing, take the usual case of every link and need no new storage;
// `split` then holds what splitEdgeDirect needs.
bool splitTakesUsualCases(const Mesh& mesh, int32_t edge, EdgeSplit& split);

// Only after splitTakesUsualCases said true for the unchanged mesh: the same records and
// the same result as Mesh::splitEdge(split.a), each record written once in its final
// state rather than link by link.
int32_t splitEdgeDirect(Mesh& mesh, const EdgeSplit& split);

// The direct split where the check allows it, the literal one otherwise.
int32_t splitEdgeEitherWay(Mesh& mesh, int32_t edge);

// The lookahead of a pass that splits the edges of a range in index order, two apart, up to
// `end`: called before the split of `edge`, it asks the cache for what the splits a few
// places on will read. It follows only indices it has checked: it changes nothing and never
// throws, and a guess gone stale costs one wasted fetch.
void prefetchSplitsAhead(const Mesh& mesh, int32_t edge, int32_t end);
