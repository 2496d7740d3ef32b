// Edge splits: the literal sequence of editing operations, and the same writes made
// directly once every condition of its usual course has been checked.
#include "mesh/split_edge.h"

#include <limits>

namespace {

bool below(int32_t index, std::size_t size) {
  return static_cast<uint32_t>(index) < size;
}

bool samePair(int32_t e, int32_t f) {
  return (e >> 1) == (f >> 1);
}

}  // namespace

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

// Once it starts linking, the literal split reads only `vertex` fields, and it writes
// `vertex` only on twin(a) and on the new edges. With b and c outside a's pair and P,
// Q, R, S four distinct old vertices, the six old edges start at different corners or
// are a's pair, so every link sees the values read up front and takes the case named
// beside its condition, and no write lands on a record that another one also writes.
bool splitTakesUsualCases(const Mesh& mesh, int32_t edge, EdgeSplit& split) {
  const std::size_t edgeCount = mesh.edges.size();
  const std::size_t vertexCount = mesh.vertices.size();
  const std::size_t faceCount = mesh.faces.size();
  constexpr std::size_t largestIndex = std::numeric_limits<int32_t>::max();
  if (edgeCount % 2 != 0 || edgeCount + 6 > largestIndex || vertexCount + 1 > largestIndex ||
      faceCount + 2 > largestIndex) {
    return false;
  }
  if (mesh.edges.capacity() < edgeCount + 6 || mesh.vertices.capacity() < vertexCount + 1 ||
      mesh.faces.capacity() < faceCount + 2) {
    return false;
  }
  if (!below(edge, edgeCount)) return false;
  const Edge& a = mesh.edges.at(edge);
  const Edge& t = mesh.edges.at(twin(edge));
  if (!below(a.next, edgeCount) || !below(t.next, edgeCount)) return false;
  const Edge& b = mesh.edges.at(a.next);
  const Edge& c = mesh.edges.at(t.next);
  if (!below(b.next, edgeCount) || !below(c.next, edgeCount)) return false;
  const Edge& d = mesh.edges.at(b.next);
  const Edge& g = mesh.edges.at(c.next);
  if (samePair(a.next, edge) || samePair(t.next, edge)) return false;
  if (!below(a.face, faceCount) || !below(t.face, faceCount)) return false;
  const int32_t p = a.vertex;
  const int32_t q = t.vertex;
  const int32_t r = mesh.endVertex(a.next);
  const int32_t s = mesh.endVertex(t.next);
  if (!below(p, vertexCount) || !below(q, vertexCount) || !below(r, vertexCount) ||
      !below(s, vertexCount)) {
    return false;
  }
  if (p == q || p == r || p == s || q == r || q == s || r == s) return false;
  // In the order of the links; each one names the case it needs.
  if (d.vertex != r) return false;                // (toR, d): case 2
  if (mesh.endVertex(b.next) != p) return false;  // (d, a): case 2
  if (g.vertex != s) return false;                // (toS, g): case 2
  if (mesh.endVertex(c.next) != q) return false;  // (g, toQ): case 2
  if (b.vertex != q) return false;                // (toQ, b): case 1
  if (c.vertex != p) return false;                // (a, c): case 1
  split = EdgeSplit{edge, a.next, t.next, b.next, c.next, a.face, t.face, p, q, r, s};
  return true;
}

int32_t splitEdgeDirect(Mesh& mesh, const EdgeSplit& split) {
  const int32_t a = split.a;
  const int32_t t = twin(a);
  const auto e = static_cast<int32_t>(mesh.edges.size());
  const auto m = static_cast<int32_t>(mesh.vertices.size());
  const auto f = static_cast<int32_t>(mesh.faces.size());
  Vector3 middle = mesh.position(split.q) + mesh.position(split.p);
  normalize(middle);
  // The new records in their final state; nothing else refers to them yet.
  mesh.vertices.push_back(vertexAt(middle, e + 5));
  mesh.edges.push_back(Edge{m, f, split.b});             // toQ, m to Q, in the face (m, Q, R)
  mesh.edges.push_back(Edge{split.q, split.ft, e + 4});  // Q to m, in the face (Q, m, S)
  mesh.edges.push_back(Edge{m, split.fa, split.d});      // toR, m to R, in the face (P, m, R)
  mesh.edges.push_back(Edge{split.r, f, e});             // R to m
  mesh.edges.push_back(Edge{m, split.ft, split.g});      // toS, m to S
  mesh.edges.push_back(Edge{split.s, f + 1, t});         // S to m, in the face (m, P, S)
  mesh.faces.push_back(Face{e});
  mesh.faces.push_back(Face{t});
  // Old records: only the face records may coincide (fa = ft), so those keep the
  // literal order.
  mesh.vertices.at(split.q).edge = e;
  mesh.vertices.at(split.r).edge = e + 2;
  mesh.vertices.at(split.s).edge = e + 4;
  mesh.edges.at(t).vertex = m;
  mesh.edges.at(a).next = e + 2;
  mesh.edges.at(split.d).next = a;
  mesh.faces.at(split.fa) = Face{a};
  mesh.edges.at(a).face = split.fa;
  mesh.edges.at(split.d).face = split.fa;
  mesh.edges.at(split.g).next = e + 1;
  mesh.faces.at(split.ft) = Face{e + 1};
  mesh.edges.at(split.g).face = split.ft;
  mesh.edges.at(split.b).next = e + 3;
  mesh.edges.at(split.b).face = f;
  mesh.edges.at(t).next = split.c;
  mesh.edges.at(split.c).next = e + 5;
  mesh.edges.at(t).face = f + 1;
  mesh.edges.at(split.c).face = f + 1;
  return f + 1;
}

int32_t splitEdgeEitherWay(Mesh& mesh, int32_t edge) {
  EdgeSplit split;
  if (splitTakesUsualCases(mesh, edge, split)) return splitEdgeDirect(mesh, split);
  return mesh.splitEdge(edge);
}
