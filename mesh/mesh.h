#pragma once
// The edge-based boundary representation of a closed triangulated surface: three
// append-only arrays linked by 32-bit indices. Every access by index is range-checked
// (`[]` is `at` too); only whole-array iteration and copies run over the storage as is.

#include <cstdint>
#include <ostream>

#include "geom/vector.h"
#include "mesh/array.h"

struct Vertex {
  double x, y, z;
  int32_t edge;  // an edge that ends here (its twin starts here); entry into the vertex loop
};

inline Vertex vertexAt(const Vector3& position, int32_t edge) {
  return Vertex{position.x, position.y, position.z, edge};
}

struct Edge {
  int32_t vertex;  // the vertex this edge starts from
  int32_t face;    // the face whose loop holds this edge; -1 until assigned
  int32_t next;    // following edge in that face's loop; -1 until linked
};

struct Face {
  int32_t edge;  // first edge of the face loop
};

// Edges come in pairs at 2k and 2k + 1, so the twin is arithmetic, never stored.
inline int32_t twin(int32_t edge) {
  return edge ^ 1;
}

struct Mesh {
  GrowableArray<Vertex> vertices;
  GrowableArray<Edge> edges;
  GrowableArray<Face> faces;

  int32_t endVertex(int32_t edge) const { return edges.at(twin(edge)).vertex; }
  int32_t nextEdge(int32_t edge) const { return edges.at(edge).next; }
  int32_t nextAroundVertex(int32_t edge) const { return twin(edges.at(edge).next); }
  Vector3 position(int32_t vertex) const {
    const Vertex& v = vertices.at(vertex);
    return {v.x, v.y, v.z};
  }

  // Editing: append only. Edge arguments are in/out: the operation picks the
  // direction of each pair and writes back the edge it chose. A bad index throws
  // std::out_of_range; a failed my_assert throws std::runtime_error and leaves the
  // writes made before it.
  // False, and nothing written, when a and b share no vertex; else b follows a.
  bool linkEdges(int32_t& a, int32_t& b);
  void addVertex(const Vertex& vertex);
  // Returns the new pair's first edge, p to q; asserts that the edge count is even.
  int32_t addEdgePair(int32_t p, int32_t q);
  // Links e0, e1, e2 into one loop; asserts that each link joins and that the later links
  // keep the direction the first one chose. setFace and addFace link their faces with it.
  void linkTriangle(int32_t& e0, int32_t& e1, int32_t& e2);
  // Face `face` becomes the loop e0, e1, e2, linked as linkTriangle does. addFace does the
  // same for a new face and returns its index.
  void setFace(int32_t face, int32_t& e0, int32_t& e1, int32_t& e2);
  int32_t addFace(int32_t& e0, int32_t& e1, int32_t& e2);

  // Changes nothing; prints the first broken invariant and returns false.
  bool validate(std::ostream& out) const;

  // Refinement toward the unit sphere. splitFaces asserts that the result validates.
  void splitFaces(std::ostream& out);
  // Needs both faces of `edge` to be triangles. Splits the edge at its midpoint, its two
  // triangles into four; returns the index of the last face it added.
  int32_t splitEdge(int32_t edge);
};

#include "mesh/edit.h"  // the editing operations, defined inline
