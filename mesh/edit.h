#pragma once
// Editing operations: they append records and rewrite links, checking their
// preconditions with my_assert. A failed check leaves earlier writes in place.
// Inline, because every split runs a dozen of them in its innermost loop.

#include "geom/assert.h"
#include "mesh/mesh.h"

inline bool Mesh::linkEdges(int32_t& a, int32_t& b) {
  // Every read happens before the first write, so a bad index changes nothing.
  const int32_t a0 = edges.at(a).vertex;
  const int32_t a1 = endVertex(a);
  const int32_t b0 = edges.at(b).vertex;
  const int32_t b1 = endVertex(b);
  // Branches 1 to 4: which of the two ends meet decides which edges turn round.
  if (a0 == b0) {  // 1: both start there: a turns
    a = twin(a);
  } else if (a1 == b0) {  // 2: a runs into b as they are
  } else if (a0 == b1) {  // 3: b runs into a: both turn
    a = twin(a);
    b = twin(b);
  } else if (a1 == b1) {  // 4: both end there: b turns
    b = twin(b);
  } else {
    return false;
  }
  edges.at(a).next = b;
  return true;
}

inline void Mesh::addVertex(const Vertex& vertex) {
  vertices.push_back(vertex);
}

inline int32_t Mesh::addEdgePair(int32_t p, int32_t q) {
  const auto k = static_cast<int32_t>(edges.size());
  my_assert(k % 2 == 0);
  edges.push_back(Edge{p, -1, -1});
  edges.push_back(Edge{q, -1, -1});
  vertices.at(p).edge = k + 1;
  vertices.at(q).edge = k;
  return k;
}

// Each later link must keep the direction the earlier one chose, or the loop would not run
// one way round.
inline void Mesh::linkTriangle(int32_t& e0, int32_t& e1, int32_t& e2) {
  my_assert(linkEdges(e0, e1));
  const int32_t linkedE1 = e1;
  my_assert(linkEdges(e1, e2));
  my_assert(e1 == linkedE1);
  const int32_t linkedE2 = e2;
  my_assert(linkEdges(e2, e0));
  my_assert(e2 == linkedE2);
}

inline void Mesh::setFace(int32_t face, int32_t& e0, int32_t& e1, int32_t& e2) {
  linkTriangle(e0, e1, e2);
  faces.at(face) = Face{e0};
  edges.at(e0).face = face;
  edges.at(e1).face = face;
  edges.at(e2).face = face;
}

inline int32_t Mesh::addFace(int32_t& e0, int32_t& e1, int32_t& e2) {
  const auto face = static_cast<int32_t>(faces.size());
  linkTriangle(e0, e1, e2);
  faces.push_back(Face{e0});
  edges.at(e0).face = face;
  edges.at(e1).face = face;
  edges.at(e2).face = face;
  return face;
}
