#pragma once
// One user-visible refinement step: first every face in three, then alternating
// ranges of edges at their midpoints; prints the statistics and the face count.

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <vector>

#include "mesh/memory_room.h"
#include "mesh/mesh.h"
#include "mesh/progress.h"
#include "mesh/shared_pass.h"
#include "mesh/statistics.h"

struct Refinement {
  std::vector<int32_t> splitRanges;  // boundaries of the edge ranges made by successive steps
  int32_t splitPhase = 0;            // 0 or 1: which alternate ranges the next step splits
};

// What a step that was made printed: its area range and face count.
struct StepFigures {
  AreaRange areas;
  std::size_t faceCount;
};

// Reads one character from `in` only when the refined mesh fails validation. A step
// that does not fit in `room` (or whose memory cannot be had after all) says so and leaves
// the mesh and the refinement as they were. The split and the check report to `progress`,
// where there is one, and it is told they are over before the result is printed. The check
// shares its work among as many of `threads` as fit in `room` beside the step's records.
// Returns the figures printed, none for a refused step.
std::optional<StepFigures> refineStep(Mesh& mesh, Refinement& refinement, const MemoryRoom& room,
                                      std::ostream& out, std::istream& in,
                                      StepProgress* progress = nullptr,
                                      const StepThreads& threads = {});

// refineStep in its three parts, apart so the benchmark times the very code the key runs.
// The bytes the next step's split reserves: what its threads must fit beside.
uint64_t bytesOfNextStep(const Mesh& mesh, const Refinement& refinement);
// The split: refused (said on `out`, nothing changed), or the faces or the edges split.
enum class StepSplit { refused, faces, edges };
StepSplit splitForStep(Mesh& mesh, Refinement& refinement, const MemoryRoom& room,
                       std::ostream& out, StepProgress* progress = nullptr);
// The check after a split that was made: the face split checked itself, fatally; an edge
// step is validated, a fault printed, and the face areas measured as it goes where it can.
// The check shares its passes among up to threads.count threads.
struct StepCheck {
  bool valid;
  std::optional<AreaRange> areas;  // empty where the check could not measure every face
  unsigned threads;                // threads the check ran on, the calling one included
};
StepCheck checkStep(const Mesh& mesh, StepSplit split, std::ostream& out,
                    StepProgress* progress = nullptr, const StepThreads& threads = {});
// The statistics (from the measured areas where there are some) and the face count.
StepFigures printStepResult(const Mesh& mesh, const StepCheck& check, std::ostream& out);

// The edge the split key splits.
constexpr int32_t splitKeyEdge = 10;

// Splits `edge` like Mesh::splitEdge when one more split fits in `room`; otherwise says
// so on one line, changes nothing and returns false. The failures of Mesh::splitEdge stay fatal.
bool splitEdgeIfRoom(Mesh& mesh, int32_t edge, const MemoryRoom& room, std::ostream& out);
