#pragma once
// One user-visible refinement step: first every face in three, then alternating
// ranges of edges at their midpoints; prints the statistics and the face count.

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "mesh/mesh.h"

struct Refinement {
  std::vector<int32_t> splitRanges;  // boundaries of the edge ranges made by successive steps
  int32_t splitPhase = 0;            // 0 or 1: which alternate ranges the next step splits
};

// Reads one character from `in` only when the refined mesh fails validation. A step
// that does not fit in memory says so and leaves the mesh and the refinement as they were.
void refineStep(Mesh& mesh, Refinement& refinement, std::ostream& out, std::istream& in);

// The splitting half of refineStep, apart so the benchmark can time the stages.
enum class StepSplit { refused, faces, edges };
StepSplit splitForStep(Mesh& mesh, Refinement& refinement, std::ostream& out);

// The edge the split key splits.
constexpr int32_t splitKeyEdge = 10;

// Splits `edge` like Mesh::splitEdge when one more split fits in memory; otherwise says
// so on one line and changes nothing. The failures of Mesh::splitEdge stay fatal.
void splitEdgeIfRoom(Mesh& mesh, int32_t edge, std::ostream& out);
