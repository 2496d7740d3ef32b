#include "mesh/validate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "mesh/refine.h"
#include "tests/mesh/mesh_fixtures.h"

namespace {

// What the literal walks print, or "out of range" where they throw.
std::string literalOutcome(const Mesh& mesh) {
  std::ostringstream literal;
  try {
    return validateByWalking(mesh, literal) ? "valid" : literal.str();
  } catch (const std::out_of_range&) {
    return "out of range";
  }
}

// The same, from the fast check shared out as `threads` says.
std::string sharedOutcome(const Mesh& mesh, const StepThreads& threads) {
  std::ostringstream out;
  std::optional<AreaRange> areas;
  try {
    return validateMeasuringAreas(mesh, out, areas, nullptr, threads) ? "valid" : out.str();
  } catch (const std::out_of_range&) {
    return "out of range";
  }
}

// The message, checked against the literal walks and the check shared every way.
std::string validationOutput(const Mesh& mesh) {
  std::ostringstream out;
  const bool valid = mesh.validate(out);
  const std::string literal = literalOutcome(mesh);
  EXPECT_EQ(literal, valid ? "valid" : out.str());
  EXPECT_EQ(valid, out.str().empty());
  for (const StepThreads& threads : sharings) EXPECT_EQ(sharedOutcome(mesh, threads), literal);
  return out.str();
}

std::string edgeLoopOutput(const Mesh& mesh) {
  std::ostringstream out;
  EXPECT_FALSE(checkEdgeLoopsByWalking(mesh, out));
  return out.str();
}

// A pair from vertex p to q that no face holds, with both vertex entries left as they
// were, so pass 1 never reaches it.
int32_t hiddenPair(Mesh& mesh, int32_t p, int32_t q) {
  const int32_t entryP = mesh.vertices.at(p).edge;
  const int32_t entryQ = mesh.vertices.at(q).edge;
  const int32_t k = mesh.addEdgePair(p, q);
  mesh.vertices.at(p).edge = entryP;
  mesh.vertices.at(q).edge = entryQ;
  return k;
}

}  // namespace

TEST(Validate, EmptyAndRefinedMeshesAreValidAndSilent) {
  EXPECT_EQ(validationOutput(Mesh{}), "");
  Stepper stepper;
  EXPECT_EQ(validationOutput(stepper.mesh), "");
  for (int step = 0; step < 4; ++step) {
    stepper.step();
    EXPECT_EQ(validationOutput(stepper.mesh), "");
  }
}

TEST(Validate, PassOneFaultsComeFirst) {
  Mesh mesh = icosahedron();
  mesh.edges.at(11).face = 4;    // face 0's loop holds an edge of face 4
  mesh.vertices.at(0).edge = 0;  // and vertex 0's entry ends at vertex 1
  EXPECT_EQ(validationOutput(mesh), "pass1:Face refers to edge that does not refer to face\n");

  mesh = icosahedron();
  mesh.vertices.at(0).edge = 0;
  EXPECT_EQ(validationOutput(mesh), "pass1:Vertex refers to edge that does not refer to vertex\n");
}

TEST(Validate, WalksThatNeverComeBackAreFaults) {
  Mesh mesh = icosahedron();
  mesh.edges.at(11).next = 2;  // face 0: 1, 2, 11, 2, 11, ... never back at 1
  EXPECT_EQ(validationOutput(mesh), "pass1:Face loop does not close\n");

  // Vertex 0's entry leads into its own loop without passing the entry again.
  mesh = icosahedron();
  const int32_t k = hiddenPair(mesh, 1, 0);
  mesh.edges.at(k).next = 0;  // around vertex 0: k, 1, 3, 5, 7, 9, 1, ...
  mesh.vertices.at(0).edge = k;
  EXPECT_EQ(validationOutput(mesh), "pass1:Vertex loop does not close\n");
}

TEST(Validate, EdgesOutsideTheirLoopsAreFoundInPassTwo) {
  Mesh mesh = icosahedron();
  const int32_t k = hiddenPair(mesh, 0, 1);
  mesh.edges.at(k).face = 0;
  mesh.edges.at(k + 1).face = 0;
  EXPECT_EQ(validationOutput(mesh), "pass2:Edge is not in face loop of face it refers to\n");

  // Vertex 0's loop is cut down to a pair that runs from 0 back to 0.
  mesh = icosahedron();
  const int32_t loop = mesh.addEdgePair(0, 0);
  mesh.edges.at(loop).next = loop + 1;
  mesh.edges.at(loop).face = 0;
  mesh.edges.at(loop + 1).face = 0;
  EXPECT_EQ(validationOutput(mesh), "pass2:Edge is not in vertex loop of vertex it refers to\n");
}

// Pass 1 has walked every loop that pass 2 walks, so these four faults only show when
// the second pass runs on its own.
TEST(Validate, SecondPassAloneReportsBrokenLoops) {
  Mesh mesh = icosahedron();
  mesh.edges.at(20).face = 0;  // face 5 runs 10, 20, 15: edge 15's walk meets 20 first
  EXPECT_EQ(edgeLoopOutput(mesh), "pass2:Edges of same loop do not refer to same face\n");

  mesh = icosahedron();
  mesh.edges.at(12).vertex = 7;  // vertex 1 runs 0, 13, 17, 15, 11: 13 now ends at 7
  EXPECT_EQ(edgeLoopOutput(mesh), "pass2:Edges of same loop do not refer to same vertex\n");

  mesh = icosahedron();
  mesh.edges.at(15).next = 20;  // face 5: 10, 20, 15, 20, ...
  mesh.edges.at(0).face = 5;
  EXPECT_EQ(edgeLoopOutput(mesh), "pass2:Face loop does not close\n");

  mesh = icosahedron();
  mesh.edges.at(13).next = 12;  // 13 runs into its own twin: a vertex loop meeting it never closes
  EXPECT_EQ(edgeLoopOutput(mesh), "pass2:Vertex loop does not close\n");
}

TEST(Validate, UnlinkedEdgeIsOutOfRangeNotAMessage) {
  Mesh mesh = icosahedron();
  mesh.addEdgePair(0, 1);  // vertex 0's entry now has next -1, and -1 ^ 1 = -2
  std::ostringstream out;
  EXPECT_THROW(mesh.validate(out), std::out_of_range);
  EXPECT_THROW(validateByWalking(mesh, out), std::out_of_range);
  EXPECT_EQ(out.str(), "");
  for (const StepThreads& threads : sharings) {
    EXPECT_EQ(sharedOutcome(mesh, threads), "out of range");
  }

  mesh = icosahedron();
  mesh.faces.push_back(Face{-1});
  EXPECT_THROW(mesh.validate(out), std::out_of_range);
}

// The shortcut through pass 1's record must agree with the literal walks on any mesh,
// broken or not: same verdict, same message, same exception.
TEST(Validate, ShortcutAgreesWithLiteralWalksOnCorruptedMeshes) {
  Stepper stepper;
  stepper.steps(2);
  const Mesh& refined = stepper.mesh;

  std::mt19937 random(12345);
  int faults = 0;
  for (int round = 0; round < 3000; ++round) {
    Mesh mesh = round % 2 == 0 ? refined : icosahedron();
    const int corruptions = 1 + static_cast<int>(random() % 3);
    for (int c = 0; c < corruptions; ++c) {
      const int32_t edgeCount = static_cast<int32_t>(mesh.edges.size());
      const int32_t value = static_cast<int32_t>(random() % (edgeCount + 2)) - 1;
      const std::size_t field = random() % 5;
      const std::size_t edge = random() % mesh.edges.size();
      if (field == 0) mesh.edges.at(edge).next = value;
      if (field == 1)
        mesh.edges.at(edge).face = value % static_cast<int32_t>(mesh.faces.size() + 1);
      if (field == 2)
        mesh.edges.at(edge).vertex = value % static_cast<int32_t>(mesh.vertices.size());
      if (field == 3) mesh.vertices.at(random() % mesh.vertices.size()).edge = value;
      if (field == 4) mesh.faces.at(random() % mesh.faces.size()).edge = value;
    }
    const std::string literal = literalOutcome(mesh);
    ASSERT_EQ(sharedOutcome(mesh, sharings[round % std::size(sharings)]), literal)
        << "round " << round;
    if (literal != "valid" && literal != "out of range") ++faults;
  }
  EXPECT_GT(faults, 100);
}

// The areas measured during the check print what the statistics print; a face whose
// corner is no vertex leaves them unmeasured, so the statistics walk and throw.
TEST(Validate, MeasuredAreasPrintLikeTheStatisticsOrAreAbsent) {
  Stepper stepper;
  stepper.steps(3);
  Mesh& mesh = stepper.mesh;
  std::ostringstream ignored;
  std::optional<AreaRange> areas;
  std::ostringstream walked;
  walked.precision(19);
  printStatistics(mesh, walked);
  for (const StepThreads& threads : sharings) {
    unsigned threadsUsed = 0;
    ASSERT_TRUE(validateMeasuringAreas(mesh, ignored, areas, nullptr, threads, &threadsUsed));
    ASSERT_TRUE(areas.has_value());
    EXPECT_EQ(threadsUsed, std::min(threads.count, 128u)) << "the faces make 128 chunks or more";
    std::ostringstream measured;
    measured.precision(19);
    printAreaRange(*areas, measured);
    EXPECT_EQ(measured.str(), walked.str());
  }

  mesh.edges.at(mesh.faces.at(7).edge).vertex = static_cast<int32_t>(mesh.vertices.size());
  std::ostringstream out;
  EXPECT_FALSE(validateMeasuringAreas(mesh, out, areas));
  EXPECT_FALSE(areas.has_value());
  EXPECT_EQ(out.str(), validationOutput(mesh));
  EXPECT_THROW(printStatistics(mesh, walked), std::out_of_range);
}
