// Refinement toward the unit sphere: faces split at their centroids, edges at their
// midpoints, every new vertex scaled to unit length.
#include "mesh/refine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

#include "geom/assert.h"
#include "mesh/memory_room.h"
#include "mesh/split_edge.h"
#include "mesh/statistics.h"
#include "mesh/validate.h"

namespace {

// The icosahedron's edge count: the first range of edges to split, whatever the mesh holds.
constexpr int32_t icosahedronEdges = 60;

struct Growth {
  std::size_t vertices, edges, faces;
};

Growth growthFor(std::size_t splits) {
  return {verticesPerSplit * splits, edgesPerSplit * splits, facesPerSplit * splits};
}

// The edge ranges [start, end) the next step splits: every other range, from the phase's.
template <typename Visit>
void forEachRangeOfNextStep(const Refinement& refinement, Visit visit) {
  const std::vector<int32_t>& ranges = refinement.splitRanges;
  for (std::size_t r = static_cast<std::size_t>(refinement.splitPhase); r + 1 < ranges.size();
       r += 2) {
    visit(ranges[r], ranges[r + 1]);
  }
}

// A step walks each of its ranges from start in steps of 2.
std::size_t edgeSplitsOfNextStep(const Refinement& refinement) {
  std::size_t splits = 0;
  forEachRangeOfNextStep(refinement, [&splits](int32_t start, int32_t end) {
    const int64_t length = int64_t{end} - start;
    if (length > 0) splits += static_cast<std::size_t>((length + 1) / 2);
  });
  return splits;
}

// The new records and a page of slack for each array's last page; the validation after
// a step allocates nothing, so nothing goes on top.
uint64_t bytesFor(const Growth& growth) {
  return growth.vertices * sizeof(Vertex) + growth.edges * sizeof(Edge) +
         growth.faces * sizeof(Face) + 3 * uint64_t{memoryPageBytes()};
}

// What a refused growth had already reserved goes back, resident pages and all: a refusal
// leaves the process with the memory it had.
void giveBackSpareRoom(Mesh& mesh) {
  mesh.vertices.shrink_to_fit();
  mesh.edges.shrink_to_fit();
  mesh.faces.shrink_to_fit();
}

// Room for the whole growth is checked against what the process can really get, then
// reserved and made resident, before any record changes; growth that does not fit
// fails here and leaves the mesh as it was. Making it resident up front makes the split at
// 7.9 M faces 1.15 times as long and spares the validation about 30 ms (interleaved A/B, 5
// pairs, at 0093d6b); it stays because a shortage then shows here, not in the split. Links
// are 32-bit: growth whose edge count would not fit in them cannot be made either. At 31 M
// faces this takes over a second, so it reports to `progress` as a pass of its own.
bool reserveForGrowth(Mesh& mesh, const Growth& growth, const MemoryRoom& room,
                      StepProgress* progress) {
  const std::size_t edgesAfter = mesh.edges.size() + growth.edges;
  if (edgesAfter > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) return false;
  const uint64_t bytesDue = bytesFor(growth);
  if (!growthFits(bytesDue, room)) return false;
  uint64_t bytesDone = 0;
  const auto chunkDone = [&](std::size_t bytes) {
    bytesDone += bytes;
    if (progress != nullptr)
      progress->reached(reservingPass, std::min(bytesDone, bytesDue), bytesDue);
  };
  try {
    if (mesh.vertices.reserveResident(mesh.vertices.size() + growth.vertices, chunkDone) &&
        mesh.edges.reserveResident(edgesAfter, chunkDone) &&
        mesh.faces.reserveResident(mesh.faces.size() + growth.faces, chunkDone)) {
      return true;
    }
  } catch (const std::bad_alloc&) {
  }
  giveBackSpareRoom(mesh);
  return false;
}

void sayNotEnoughMemory(std::ostream& out) {
  out << "Not enough memory for the next refinement step" << std::endl;
}

}  // namespace

void Mesh::splitFaces(std::ostream& out) {
  const std::size_t faceCount = faces.size();
  for (std::size_t i = 0; i < faceCount; ++i) {
    const auto face = static_cast<int32_t>(i);
    int32_t e0 = faces.at(i).edge;
    int32_t e1 = nextEdge(e0);
    int32_t e2 = nextEdge(e1);
    const int32_t p = edges.at(e0).vertex;
    const int32_t q = edges.at(e1).vertex;
    const int32_t r = edges.at(e2).vertex;
    Vector3 centre = ((position(p) + position(q)) + position(r)) * 0.3333333333333333;
    normalize(centre);
    const auto m = static_cast<int32_t>(vertices.size());
    addVertex(vertexAt(centre, static_cast<int32_t>(edges.size())));
    int32_t sP = addEdgePair(p, m);
    int32_t sQ = addEdgePair(q, m);
    int32_t sR = addEdgePair(r, m);
    setFace(face, e0, sQ, sP);
    addFace(e1, sR, sQ);
    addFace(e2, sP, sR);
  }
  my_assert(validate(out));
}

namespace {

std::size_t splitsOfNextStep(const Mesh& mesh, const Refinement& refinement) {
  return refinement.splitRanges.empty() ? mesh.faces.size() : edgeSplitsOfNextStep(refinement);
}

}  // namespace

uint64_t bytesOfNextStep(const Mesh& mesh, const Refinement& refinement) {
  return bytesFor(growthFor(splitsOfNextStep(mesh, refinement)));
}

StepSplit splitForStep(Mesh& mesh, Refinement& refinement, const MemoryRoom& room,
                       std::ostream& out, StepProgress* progress) {
  std::vector<int32_t>& ranges = refinement.splitRanges;
  const bool first = ranges.empty();
  const std::size_t splits = splitsOfNextStep(mesh, refinement);
  const Growth growth = growthFor(splits);
  if (!reserveForGrowth(mesh, growth, room, progress)) {
    sayNotEnoughMemory(out);
    return StepSplit::refused;
  }
  try {
    ranges.reserve(ranges.size() + 3);
  } catch (const std::bad_alloc&) {
    giveBackSpareRoom(mesh);
    sayNotEnoughMemory(out);
    return StepSplit::refused;
  }
  if (first) {
    mesh.splitFaces(out);
    // The first range is the icosahedron's own edges, whatever the mesh held.
    ranges.push_back(0);
    ranges.push_back(icosahedronEdges);
    ranges.push_back(static_cast<int32_t>(mesh.edges.size()));
    refinement.splitPhase = 0;
    return StepSplit::faces;
  }
  std::size_t splitsDone = 0;
  forEachRangeOfNextStep(refinement, [&](int32_t start, int32_t end) {
    for (int32_t i = start; i < end; i += 2) {
      prefetchSplitsAhead(mesh, i, end);
      splitEdgeEitherWay(mesh, i);
      reportProgress(progress, edgeSplitPass, ++splitsDone, splits);
    }
  });
  ranges.push_back(static_cast<int32_t>(mesh.edges.size()));
  refinement.splitPhase = refinement.splitPhase == 0 ? 1 : 0;
  return StepSplit::edges;
}

StepCheck checkStep(const Mesh& mesh, StepSplit split, std::ostream& out, StepProgress* progress,
                    const StepThreads& threads) {
  StepCheck check{true, std::nullopt, 1};
  if (split == StepSplit::edges) {
    check.valid = validateMeasuringAreas(mesh, out, check.areas, progress, threads, &check.threads);
  }
  return check;
}

StepFigures printStepResult(const Mesh& mesh, const StepCheck& check, std::ostream& out) {
  // Where the check could not measure every face, the statistics walk the faces
  // themselves and print or throw as they always do.
  StepFigures figures{{}, mesh.faces.size()};
  if (check.areas) {
    figures.areas = *check.areas;
    printAreaRange(figures.areas, out);
  } else {
    figures.areas = printStatistics(mesh, out);
  }
  out << "Face count: " << figures.faceCount << std::endl;
  return figures;
}

std::optional<StepFigures> refineStep(Mesh& mesh, Refinement& refinement, const MemoryRoom& room,
                                      std::ostream& out, std::istream& in, StepProgress* progress,
                                      const StepThreads& threads) {
  const uint64_t stepBytes = bytesOfNextStep(mesh, refinement);
  const StepSplit split = splitForStep(mesh, refinement, room, out, progress);
  if (split == StepSplit::refused) return std::nullopt;
  const StepCheck check =
      checkStep(mesh, split, out, progress, threadsThatFit(threads, room, stepBytes));
  if (progress != nullptr) progress->finished();
  if (!check.valid) {
    char pause;
    in >> pause;
  }
  return printStepResult(mesh, check, out);
}

bool splitEdgeIfRoom(Mesh& mesh, int32_t edge, const MemoryRoom& room, std::ostream& out) {
  if (!reserveForGrowth(mesh, growthFor(1), room, nullptr)) {
    sayNotEnoughMemory(out);
    return false;
  }
  splitEdgeEitherWay(mesh, edge);
  return true;
}
