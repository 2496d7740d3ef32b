#include "tests/mesh/mesh_fixtures.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "mesh/split_edge.h"
#include "startup/start_mesh.h"

Mesh icosahedron() {
  Mesh mesh;
  std::ostringstream startupOutput;
  buildStartMesh(mesh, startupOutput);
  return mesh;
}

std::string Stepper::step(const std::string& input) {
  std::ostringstream out;
  out.precision(19);
  std::istringstream in(input);
  figures = refineStep(mesh, refinement, room, out, in, nullptr, threads);
  return out.str();
}

void Stepper::steps(int count) {
  for (int step = 0; step < count; ++step) this->step();
}

const StepThreads sharings[4] = {
    {1, nullptr, 0, StepThreads{}.chunkRecords},
    {2, nullptr, 0, 1},
    {3, nullptr, 0, 7},
    {maxStepThreads, nullptr, 0, 2},
};

void reserveForOneSplit(Mesh& mesh) {
  mesh.vertices.reserve(mesh.vertices.size() + verticesPerSplit);
  mesh.edges.reserve(mesh.edges.size() + edgesPerSplit);
  mesh.faces.reserve(mesh.faces.size() + facesPerSplit);
}

namespace {

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

bool sameRecords(const Mesh& a, const Mesh& b) {
  if (a.vertices.size() != b.vertices.size() || a.edges.size() != b.edges.size() ||
      a.faces.size() != b.faces.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.vertices.size(); ++i) {
    const Vertex& u = a.vertices.at(i);
    const Vertex& v = b.vertices.at(i);
    if (!sameBits(u.x, v.x) || !sameBits(u.y, v.y) || !sameBits(u.z, v.z) || u.edge != v.edge) {
      return false;
    }
  }
  for (std::size_t i = 0; i < a.edges.size(); ++i) {
    const Edge& e = a.edges.at(i);
    const Edge& f = b.edges.at(i);
    if (e.vertex != f.vertex || e.face != f.face || e.next != f.next) return false;
  }
  for (std::size_t i = 0; i < a.faces.size(); ++i) {
    if (a.faces.at(i).edge != b.faces.at(i).edge) return false;
  }
  return true;
}

namespace {

class Fnv {
 public:
  template <typename T>
  void add(T value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char byte : bytes) hash_ = (hash_ ^ byte) * 0x100000001b3ull;
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace

uint64_t meshHash(const Mesh& mesh) {
  Fnv fnv;
  for (const Vertex& v : mesh.vertices) {
    fnv.add(v.x);
    fnv.add(v.y);
    fnv.add(v.z);
    fnv.add(v.edge);
  }
  for (const Edge& e : mesh.edges) {
    fnv.add(e.vertex);
    fnv.add(e.face);
    fnv.add(e.next);
  }
  for (const Face& f : mesh.faces) fnv.add(f.edge);
  return fnv.value();
}

std::string hexHash(uint64_t hash) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string sphereFaults(const Mesh& mesh) {
  std::ostringstream messages;
  if (!mesh.validate(messages)) return "invalid: " + messages.str();
  const auto euler = static_cast<long long>(mesh.vertices.size()) -
                     static_cast<long long>(mesh.edges.size() / 2) +
                     static_cast<long long>(mesh.faces.size());
  if (euler != 2) return "V - E/2 + F = " + std::to_string(euler);
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    const int32_t e0 = mesh.faces.at(f).edge;
    const int32_t e1 = mesh.nextEdge(e0);
    const int32_t e2 = mesh.nextEdge(e1);
    if (mesh.nextEdge(e2) != e0) return "face " + std::to_string(f) + " is not a triangle";
    const Vector3 p = mesh.position(mesh.edges.at(e0).vertex);
    const Vector3 q = mesh.position(mesh.edges.at(e1).vertex);
    const Vector3 r = mesh.position(mesh.edges.at(e2).vertex);
    const Vector3 n = cross(q - p, r - p);
    const Vector3 centre = (p + q) + r;
    if (!(dot(n, centre) > 0)) {
      return "face " + std::to_string(f) + " faces inward or has no area";
    }
  }
  return "";
}
