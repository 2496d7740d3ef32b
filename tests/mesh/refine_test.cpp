#include "mesh/refine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "mesh/memory_room.h"
#include "mesh/progress.h"
#include "tests/mesh/mesh_fixtures.h"

namespace {

std::string lastLine(const std::string& text) {
  const std::size_t end = text.find_last_of('\n');
  const std::size_t start = text.find_last_of('\n', end - 1);
  return text.substr(start + 1, end - start - 1);
}

std::vector<std::string> goldenLines() {
  std::ifstream file(REFINEMENT_GOLDEN_FILE);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::string rangesText(const std::vector<int32_t>& ranges) {
  std::string text;
  for (int32_t r : ranges) text += (text.empty() ? "" : ",") + std::to_string(r);
  return text;
}

}  // namespace

// The golden file holds the independent model's output: the printed lines digit for
// digit, the counts, phase and ranges after each step, and a hash of every record, so the
// mesh matches the model record for record; with the check on one thread or shared out.
TEST(RefineStep, MatchesTheModelDigitForDigitAndRecordForRecord) {
  const std::vector<std::string> golden = goldenLines();
  ASSERT_FALSE(golden.empty()) << "cannot read " << REFINEMENT_GOLDEN_FILE;
  for (const StepThreads& threads : sharings) {
    SCOPED_TRACE(std::to_string(threads.count) + " threads");
    std::vector<std::string> produced;
    Stepper stepper;
    stepper.threads = threads;
    int step = 0;
    for (std::size_t line = 0; line < golden.size() && golden[line].rfind("step ", 0) == 0;
         line += 6) {
      ++step;
      produced.push_back("step " + std::to_string(step));
      const std::string printedText = stepper.step();
      // The figures the step returns print as the step printed them.
      std::ostringstream figuresText;
      figuresText.precision(19);
      printAreaRange(stepper.figures.value().areas, figuresText);
      figuresText << "Face count: " << stepper.figures->faceCount << "\n";
      EXPECT_EQ(figuresText.str(), printedText);
      std::istringstream printed(printedText);
      for (std::string text; std::getline(printed, text);) produced.push_back(text);
      produced.push_back("counts " + std::to_string(stepper.mesh.vertices.size()) + " " +
                         std::to_string(stepper.mesh.edges.size()) + " " +
                         std::to_string(stepper.mesh.faces.size()) + " phase " +
                         std::to_string(stepper.refinement.splitPhase) + " ranges " +
                         rangesText(stepper.refinement.splitRanges));
      produced.push_back("hash " + hexHash(meshHash(stepper.mesh)));
    }
    EXPECT_GE(step, 8);
    Mesh split = icosahedron();
    split.splitEdge(10);
    produced.push_back("splitEdge 10");
    produced.push_back("counts " + std::to_string(split.vertices.size()) + " " +
                       std::to_string(split.edges.size()) + " " +
                       std::to_string(split.faces.size()));
    produced.push_back("hash " + hexHash(meshHash(split)));
    EXPECT_EQ(produced, golden);
  }
}

TEST(RefineStep, EveryStepLeavesAClosedOutwardUnitSphereMesh) {
  Stepper stepper;
  for (int step = 1; step <= 7; ++step) {
    SCOPED_TRACE(step);
    stepper.step();
    EXPECT_EQ(sphereFaults(stepper.mesh), "");
    for (std::size_t v = 12; v < stepper.mesh.vertices.size(); ++v) {
      const Vector3 p = stepper.mesh.position(static_cast<int32_t>(v));
      ASSERT_NEAR(length(p), 1.0, 1e-15) << v;
    }
  }
}

TEST(SplitEdge, AddsOneVertexSixEdgesTwoFacesAroundTheMidpoint) {
  Mesh mesh = icosahedron();
  EXPECT_EQ(mesh.splitEdge(10), 21);
  EXPECT_EQ(mesh.vertices.size(), 13u);
  EXPECT_EQ(mesh.edges.size(), 66u);
  EXPECT_EQ(mesh.faces.size(), 22u);
  EXPECT_EQ(sphereFaults(mesh), "");

  // Either direction of the pair splits at the same point.
  Mesh other = icosahedron();
  other.splitEdge(11);
  EXPECT_EQ(sphereFaults(other), "");
  const Vector3 a = mesh.position(12);
  const Vector3 b = other.position(12);
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.z, b.z);

  EXPECT_THROW(mesh.splitEdge(66), std::out_of_range);
}

TEST(RefineStep, FailedValidationPausesForOneCharacterThenPrintsStatistics) {
  Stepper stepper;
  stepper.mesh.vertices.at(0).edge = 0;     // ends at vertex 1, not 0
  stepper.refinement.splitRanges = {0, 0};  // an empty range: nothing to split
  std::ostringstream out;
  out.precision(19);
  std::istringstream in("  xy");
  refineStep(stepper.mesh, stepper.refinement, MemoryRoom{}, out, in);
  EXPECT_EQ(in.get(), 'y');  // blanks skipped, one character taken
  const std::string printed = out.str();
  EXPECT_EQ(printed.rfind("pass1:Vertex refers to edge that does not refer to vertex\n"
                          "Max/min area ratio=",
                          0),
            0u);
  EXPECT_EQ(lastLine(printed), "Face count: 20");
  EXPECT_EQ(stepper.refinement.splitPhase, 1);

  // At the end of input the read returns at once and the step still finishes.
  stepper.refinement.splitRanges = {0, 0};
  stepper.refinement.splitPhase = 0;
  EXPECT_EQ(lastLine(stepper.step()), "Face count: 20");
}

TEST(RefineStep, BrokenMeshInTheFirstStepIsFatal) {
  Stepper stepper;
  stepper.mesh.addVertex(Vertex{0, 0, 0, 0});  // a stray vertex the face splits never touch
  std::ostringstream out;
  std::istringstream in;
  EXPECT_THROW(refineStep(stepper.mesh, stepper.refinement, MemoryRoom{}, out, in),
               std::runtime_error);
  EXPECT_EQ(out.str(), "pass1:Vertex refers to edge that does not refer to vertex\n");
}

namespace {

// Each pass as its reports showed it, and "finished" where the step said its passes were over.
class RecordedProgress : public StepProgress {
 public:
  struct Pass {
    std::string name;
    std::size_t due;
    std::size_t reports;
  };

  void reached(const char* pass, std::size_t done, std::size_t due) override {
    if (passes.empty() || passes.back().name != pass) {
      passes.push_back({pass, due, 0});
      lastDone_ = 0;
    }
    // A line that goes back, runs past its end or changes its end misleads the reader.
    EXPECT_GE(done, lastDone_) << pass;
    EXPECT_LE(done, due) << pass;
    EXPECT_EQ(due, passes.back().due) << pass;
    lastDone_ = done;
    ++passes.back().reports;
    if (onReport) onReport();
  }
  void finished() override { passes.push_back({"finished", 0, 0}); }

  std::vector<Pass> passes;
  std::function<void()> onReport;

 private:
  std::size_t lastDone_ = 0;
};

std::size_t recordBytes(const Mesh& mesh) {
  return mesh.vertices.size() * sizeof(Vertex) + mesh.edges.size() * sizeof(Edge) +
         mesh.faces.size() * sizeof(Face);
}

}  // namespace

// A step large enough for every pass to report: the passes in order, each out of what it
// runs over (the reservation out of the bytes the new records take, and a few pages), each
// going forward and seldom enough to cost nothing per record, the end said once after
// them, and the step's output and records the same as without a progress; with the check
// shared out, whose reports come from the calling thread alone.
TEST(RefineStep, ReportsEachPassThenItsEndAndChangesNothing) {
  Stepper quiet;
  quiet.steps(13);
  Stepper reporting = quiet;
  const std::size_t bytesBefore = recordBytes(quiet.mesh);
  const std::size_t verticesBefore = quiet.mesh.vertices.size();
  const std::string printed = quiet.step();

  RecordedProgress progress;
  std::ostringstream out;
  out.precision(19);
  std::istringstream in;
  const std::thread::id caller = std::this_thread::get_id();
  progress.onReport = [caller] { EXPECT_EQ(std::this_thread::get_id(), caller); };
  refineStep(reporting.mesh, reporting.refinement, reporting.room, out, in, &progress,
             StepThreads{3, nullptr, 0, 4096});

  EXPECT_EQ(out.str(), printed);
  EXPECT_TRUE(sameRecords(reporting.mesh, quiet.mesh));
  const Mesh& after = quiet.mesh;
  const std::vector<std::pair<std::string, std::size_t>> recordPasses = {
      {"splitting edges", after.vertices.size() - verticesBefore},  // a vertex a split
      {"checking face loops", after.faces.size()},
      {"checking vertex loops", after.vertices.size()}};
  ASSERT_EQ(progress.passes.size(), 5u);
  const RecordedProgress::Pass& reserving = progress.passes.at(0);
  EXPECT_EQ(reserving.name, "reserving memory");
  const std::size_t added = recordBytes(after) - bytesBefore;
  EXPECT_GE(reserving.due, added);
  EXPECT_LE(reserving.due, added + 16 * memoryPageBytes());
  for (std::size_t i = 0; i < recordPasses.size(); ++i) {
    const RecordedProgress::Pass& pass = progress.passes.at(i + 1);
    EXPECT_EQ(pass.name, recordPasses[i].first);
    EXPECT_EQ(pass.due, recordPasses[i].second) << pass.name;
    EXPECT_LE(pass.reports, pass.due / 1000 + 1) << pass.name;
  }
  EXPECT_EQ(progress.passes.back().name, "finished");
  // The window's bar gives these passes, in this order, a part each.
  for (std::size_t i = 0; i < std::size(edgeStepPasses); ++i) {
    EXPECT_EQ(progress.passes.at(i).name, edgeStepPasses[i]);
  }
}

namespace {

// A progress line on the stream the step prints to, as when standard output and standard
// error are one terminal: "<pass>" where the line is written, "<cleared>" where it goes.
class LineOnTheSameStream : public StepProgress {
 public:
  explicit LineOnTheSameStream(std::ostream& out) : out_(out) {}
  void reached(const char* pass, std::size_t, std::size_t) override {
    out_ << "<" << pass << ">";
    shown_ = true;
  }
  void finished() override {
    if (shown_) out_ << "<cleared>";
    shown_ = false;
  }

 private:
  std::ostream& out_;
  bool shown_ = false;
};

}  // namespace

// A long step whose check finds a fault the literal walks then print: the line is cleared
// before the message, so the message starts a line of its own.
TEST(RefineStep, FaultFoundAfterTheProgressStartsOnALineOfItsOwn) {
  struct Case {
    const char* what;
    void (*breakMesh)(Mesh&);
    const char* printedAfterTheLine;
  };
  const Case cases[] = {
      {"the last face's loop", [](Mesh& mesh) { mesh.edges.at(mesh.faces.back().edge).face = 0; },
       "<cleared>pass1:Face refers to edge that does not refer to face\n"},
      {"the last vertex's loop",
       [](Mesh& mesh) { mesh.vertices.back().edge = mesh.faces.back().edge; },
       "<cleared>pass1:Vertex refers to edge that does not refer to vertex\n"},
  };
  for (const Case& c : cases) {
    Stepper stepper;
    stepper.steps(13);
    std::ostringstream out;
    LineOnTheSameStream progress(out);
    ASSERT_EQ(splitForStep(stepper.mesh, stepper.refinement, MemoryRoom{}, out, &progress),
              StepSplit::edges);
    c.breakMesh(stepper.mesh);
    EXPECT_FALSE(checkStep(stepper.mesh, StepSplit::edges, out, &progress).valid) << c.what;
    const std::string printed = out.str();
    const std::string tail = c.printedAfterTheLine;
    EXPECT_NE(printed.find("<checking "), std::string::npos) << c.what << ": no pass reported";
    ASSERT_GE(printed.size(), tail.size()) << c.what;
    EXPECT_EQ(printed.substr(printed.size() - tail.size()), tail) << c.what;
  }
}
