// Drives random sequences of refinement steps, edge splits, corruptions of index
// fields and hidden edge pairs, validating as it goes. Only the program's two
// documented failures may escape an operation (a failed my_assert and an out-of-range
// access); the fast validation must agree with the literal walks on every mesh, broken
// or not, on one thread and shared among several, the face areas it measures on the way
// with the statistics' own walk, and a direct edge split must leave the records the
// literal one leaves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "mesh/refine.h"
#include "mesh/split_edge.h"
#include "mesh/statistics.h"
#include "mesh/validate.h"
#include "tests/mesh/mesh_fixtures.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return position_ >= size_; }
  uint32_t byte() { return done() ? 0 : data_[position_++]; }
  uint32_t word() {
    const uint32_t low = byte();
    return low | byte() << 8;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Runs an operation and reports whether it ended in a documented failure.
template <typename Operation>
std::string outcomeOf(Operation operation) {
  try {
    return operation();
  } catch (const std::out_of_range&) {
    return "out of range";
  } catch (const std::runtime_error& error) {
    if (std::string(error.what()) != "Custom my_assert failed") std::abort();
    return "assert";
  }
}

// The areas the check measured, when it says it measured every face, must print what
// the statistics' own walk prints, digit for digit, and that walk must not throw.
void compareAreas(const Mesh& mesh, const std::optional<AreaRange>& areas) {
  if (!areas) return;
  std::ostringstream fused;
  std::ostringstream literal;
  fused.precision(19);
  literal.precision(19);
  printAreaRange(*areas, fused);
  const std::string outcome = outcomeOf([&] {
    printStatistics(mesh, literal);
    return std::string("done");
  });
  if (outcome != "done" || fused.str() != literal.str()) std::abort();
}

// The fast check on one thread and shared out as `threads` says, each against the literal walks.
void compareValidations(const Mesh& mesh, const StepThreads& threads) {
  std::ostringstream literal;
  const std::string literalOutcome =
      outcomeOf([&] { return std::string(validateByWalking(mesh, literal) ? "valid" : "fault"); });
  for (const StepThreads& sharing : {StepThreads{}, threads}) {
    std::ostringstream fast;
    std::optional<AreaRange> areas;
    const std::string fastOutcome = outcomeOf([&] {
      return std::string(validateMeasuringAreas(mesh, fast, areas, nullptr, sharing) ? "valid"
                                                                                     : "fault");
    });
    if (fastOutcome == "assert" || fastOutcome != literalOutcome) std::abort();
    if (fast.str() != literal.str()) std::abort();
    // One message line on a fault, nothing otherwise.
    if ((fastOutcome == "fault") != !fast.str().empty()) std::abort();
    compareAreas(mesh, areas);
  }
}

// Threads for a step or a check: one, or up to more than the mesh has chunks for, with
// chunks from one record up.
StepThreads threadsFrom(Input& input) {
  StepThreads threads;
  threads.count = 1 + input.byte() % 9;
  threads.chunkRecords = 1 + input.byte() % 64;
  return threads;
}

// Where the check takes the direct split, the literal one on a copy must succeed with
// the same result and records; elsewhere the literal split runs, as in a step.
void splitBothWays(Mesh& mesh, int32_t edge) {
  EdgeSplit split;
  if (!splitTakesUsualCases(mesh, edge, split)) {
    outcomeOf([&] {
      mesh.splitEdge(edge);
      return std::string("done");
    });
    return;
  }
  // The literal split grows its arrays as it needs: the copy needs no room made.
  Mesh literal = mesh;
  int32_t literalFace = -1;
  const std::string literalOutcome = outcomeOf([&] {
    literalFace = literal.splitEdge(edge);
    return std::string("done");
  });
  if (literalOutcome != "done") std::abort();
  if (splitEdgeDirect(mesh, split) != literalFace) std::abort();
  if (!sameRecords(mesh, literal)) std::abort();
}

// A value near the valid range of an index field, -1 and one past the end included.
int32_t nearbyIndex(Input& input, std::size_t size) {
  return static_cast<int32_t>(input.word() % (size + 4)) - 2;
}

// An edge pair, each edge the other's next, that leaves pass 1 as it was and fails
// pass 2, so that the fast check's answer for pass 2 is put to the test. Named for a
// new face of its own between old vertices, it lies in no vertex loop; named for an old
// face, in neither loop; joining two new vertices it alone enters, named for an old
// face, in no face loop.
void appendHiddenPair(Mesh& mesh, Input& input) {
  if (mesh.vertices.empty() || mesh.faces.empty() || mesh.edges.size() % 2 != 0) return;
  const uint32_t kind = input.byte() % 3;
  auto p = static_cast<int32_t>(input.word() % mesh.vertices.size());
  auto q = static_cast<int32_t>(input.word() % mesh.vertices.size());
  auto face = static_cast<int32_t>(input.word() % mesh.faces.size());
  const auto k = static_cast<int32_t>(mesh.edges.size());
  if (kind == 0) {
    face = static_cast<int32_t>(mesh.faces.size());
    mesh.faces.push_back(Face{k});
  } else if (kind == 2) {
    p = static_cast<int32_t>(mesh.vertices.size());
    q = p + 1;
    mesh.vertices.push_back(Vertex{0, 0, 0, k + 1});
    mesh.vertices.push_back(Vertex{0, 0, 0, k});
  }
  mesh.edges.push_back(Edge{p, face, k + 1});
  mesh.edges.push_back(Edge{q, face, k});
}

void corrupt(Mesh& mesh, Input& input) {
  const uint32_t field = input.byte() % 6;
  if (field == 5) {
    appendHiddenPair(mesh, input);
    return;
  }
  if (field == 3 && !mesh.vertices.empty()) {
    mesh.vertices.at(input.word() % mesh.vertices.size()).edge =
        nearbyIndex(input, mesh.edges.size());
    return;
  }
  if (field == 4 && !mesh.faces.empty()) {
    mesh.faces.at(input.word() % mesh.faces.size()).edge = nearbyIndex(input, mesh.edges.size());
    return;
  }
  if (mesh.edges.empty()) return;
  Edge& edge = mesh.edges.at(input.word() % mesh.edges.size());
  if (field == 0) edge.next = nearbyIndex(input, mesh.edges.size());
  if (field == 1) edge.face = nearbyIndex(input, mesh.faces.size());
  if (field == 2) edge.vertex = nearbyIndex(input, mesh.vertices.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input input(data, size);
  std::ostringstream ignored;
  std::istringstream noInput;
  Mesh mesh = icosahedron();
  Refinement refinement;

  // Small meshes only: four steps of refinement are enough to reach every case.
  constexpr std::size_t maxEdges = 6000;
  while (!input.done()) {
    const uint32_t operation = input.byte() % 4;
    if (operation == 0 && mesh.edges.size() <= maxEdges) {
      outcomeOf([&] {
        ignored.str("");
        refineStep(mesh, refinement, MemoryRoom{}, ignored, noInput, nullptr, threadsFrom(input));
        return std::string("done");
      });
    } else if (operation == 1 && !mesh.edges.empty() && mesh.edges.size() <= 2 * maxEdges) {
      const auto edge = static_cast<int32_t>(input.word() % mesh.edges.size());
      // Room made now, as the split key does, so the direct path is open to it.
      reserveForOneSplit(mesh);
      splitBothWays(mesh, edge);
    } else if (operation == 2) {
      corrupt(mesh, input);
    } else {
      compareValidations(mesh, threadsFrom(input));
    }
  }
  compareValidations(mesh, StepThreads{4, nullptr, 0, 3});
  return 0;
}
