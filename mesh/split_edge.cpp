// Edge splits: the literal sequence of editing operations, and the same writes made
// directly once every condition of its usual course has been checked; and the lookahead
// of a pass of them.
#include "mesh/split_edge.h"

#include <initializer_list>
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

  // Q keeps an entry edge that still ends at it once a ends at the midpoint. (addEdgePair
  // (m, q) below sets it again, to the new edge from m to Q, before anything reads it.)
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
// `vertex` only on twin(a) (which then starts at the midpoint m) and on the new edges.
// With e the edge count before the split, the new pairs are e, e+1 (m to Q and back),
// e+2, e+3 (m to R) and e+4, e+5 (m to S). Its twelve links, in the order they run, with
// the branch of Mesh::linkEdges each takes and why:
//
//   link          branch  why
//   (a, e+2)      2       a now ends at m, where e+2 starts; P is old, so not m
//   (e+2, d)      2       checked: d starts at R
//   (d, a)        2       checked: d ends at P (and R != P)
//   (e, e+4)      1       both start at m: e turns into e+1, Q to m
//   (e+4, g)      2       checked: g starts at S
//   (g, e+1)      2       checked: g ends at Q (and S != Q)
//   (e+1, b)      1       checked: b starts at Q: e+1 turns back into e
//   (b, e+2)      4       b ends at R (R is read so) and so does e+2; Q, R and m differ
//   (e+3, e)      2       R to m, then m to Q
//   (a, c)        1       checked: c starts at P: a turns into t
//   (c, e+4)      4       c ends at S (S is read so) and so does e+4; P, S and m differ
//   (e+5, t)      2       S to m, then t runs m to P
//
// Every "checked" is one line below; the other six follow from P, Q, R, S being four
// distinct old vertices. b and c outside a's pair keep the writes to a's pair from
// changing what the links read, and the capacity check means no array moves.
bool splitTakesUsualCases(const Mesh& mesh, int32_t edge, EdgeSplit& split) {
  const std::size_t edgeCount = mesh.edges.size();
  const std::size_t vertexCount = mesh.vertices.size();
  const std::size_t faceCount = mesh.faces.size();
  constexpr std::size_t largestIndex = std::numeric_limits<int32_t>::max();
  const std::size_t edgesAfter = edgeCount + edgesPerSplit;
  const std::size_t verticesAfter = vertexCount + verticesPerSplit;
  const std::size_t facesAfter = faceCount + facesPerSplit;
  if (edgeCount % 2 != 0 || edgesAfter > largestIndex || verticesAfter > largestIndex ||
      facesAfter > largestIndex) {
    return false;
  }
  if (mesh.edges.capacity() < edgesAfter || mesh.vertices.capacity() < verticesAfter ||
      mesh.faces.capacity() < facesAfter) {
    return false;
  }
  // The reads of the literal split, in its order, each index checked before it is followed.
  const int32_t a = edge;
  if (!below(a, edgeCount)) return false;
  const int32_t b = mesh.edges.at(a).next;
  if (!below(b, edgeCount)) return false;
  const int32_t d = mesh.edges.at(b).next;
  const int32_t t = twin(a);
  const int32_t c = mesh.edges.at(t).next;
  if (!below(c, edgeCount)) return false;
  const int32_t g = mesh.edges.at(c).next;
  if (!below(d, edgeCount) || !below(g, edgeCount)) return false;
  if (samePair(b, a) || samePair(c, a)) return false;
  const int32_t fa = mesh.edges.at(a).face;
  const int32_t ft = mesh.edges.at(t).face;
  if (!below(fa, faceCount) || !below(ft, faceCount)) return false;
  const int32_t p = mesh.edges.at(a).vertex;
  const int32_t q = mesh.endVertex(a);
  const int32_t r = mesh.endVertex(b);
  const int32_t s = mesh.endVertex(c);
  if (!below(p, vertexCount) || !below(q, vertexCount) || !below(r, vertexCount) ||
      !below(s, vertexCount)) {
    return false;
  }
  if (p == q || p == r || p == s || q == r || q == s || r == s) return false;
  if (mesh.edges.at(d).vertex != r) return false;  // link (e+2, d)
  if (mesh.endVertex(d) != p) return false;        // link (d, a)
  if (mesh.edges.at(g).vertex != s) return false;  // link (e+4, g)
  if (mesh.endVertex(g) != q) return false;        // link (g, e+1)
  if (mesh.edges.at(b).vertex != q) return false;  // link (e+1, b)
  if (mesh.edges.at(c).vertex != p) return false;  // link (a, c)
  split = EdgeSplit{a, b, c, d, g, fa, ft, p, q, r, s};
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

// The direct split where the check allows: a step at 7.9 M faces splits in 0.76 of the
// time of the literal split alone (interleaved A/B, 7 pairs, at 27dfbc7).
int32_t splitEdgeEitherWay(Mesh& mesh, int32_t edge) {
  EdgeSplit split;
  if (splitTakesUsualCases(mesh, edge, split)) return splitEdgeDirect(mesh, split);
  return mesh.splitEdge(edge);
}

namespace {

// What the pair of `edge` names: the next edges of its two loops (b and c), its ends (P and
// Q) and its two faces.
void prefetchPairRecords(const Mesh& mesh, int32_t edge) {
  if (!below(twin(edge), mesh.edges.size())) return;
  const Edge& a = mesh.edges.at(edge);
  const Edge& t = mesh.edges.at(twin(edge));
  mesh.edges.prefetch(a.next);
  mesh.edges.prefetch(t.next);
  mesh.vertices.prefetch(a.vertex);
  mesh.vertices.prefetch(t.vertex);
  mesh.faces.prefetch(a.face);
  mesh.faces.prefetch(t.face);
}

// What b and c name: the last edges of the two loops (d and g) and the corners opposite the
// pair (R and S), read from the twins of b and c.
void prefetchLoopRecords(const Mesh& mesh, int32_t edge) {
  const std::size_t edgeCount = mesh.edges.size();
  if (!below(twin(edge), edgeCount)) return;
  for (const int32_t side : {mesh.edges.at(edge).next, mesh.edges.at(twin(edge)).next}) {
    if (!below(side | 1, edgeCount)) continue;  // side and its twin
    mesh.edges.prefetch(mesh.edges.at(side).next);
    mesh.vertices.prefetch(mesh.edges.at(twin(side)).vertex);
  }
}

}  // namespace

// A split reads about ten records scattered over the mesh, each found through the one
// before: the pair leads to b and c, those to d, g, R and S. Waited for one after another
// they would cost a large step most of its time, while the memory answers many independent
// reads at once. So the pass fetches in two rounds: for the split 2 x splitsAhead places on,
// what its pair names; for the one splitsAhead places on, whose b and c have arrived by then,
// what they name. In a refinement step every face holds exactly one edge of the ranges
// split, so no split changes what a later one reads: of the 19.7 million addresses fetched
// ahead at 7.9 M faces, none was stale.
// At 7.9 M faces on the AMD EPYC of docs/performance.md, the split takes 1.36 times as long
// without the lookahead (interleaved A/B, 7 pairs, at d080c5f). 4, 8 and 16 splits ahead
// measure alike (within 1.5 %, 21 rounds of the split's processor time), and fetching the
// pair itself or the twins of d and g as well gains nothing.
constexpr int32_t splitsAhead = 16;

void prefetchSplitsAhead(const Mesh& mesh, int32_t edge, int32_t end) {
  const int64_t edgesLeft = int64_t{end} - edge;
  if (edgesLeft > 4 * splitsAhead) prefetchPairRecords(mesh, edge + 4 * splitsAhead);
  if (edgesLeft > 2 * splitsAhead) prefetchLoopRecords(mesh, edge + 2 * splitsAhead);
}
