#pragma once
// The consistency check walked literally, loop by loop. Mesh::validate (declared with the
// mesh, defined beside these) answers faster and must agree with them; on any doubt it
// runs them, so their messages and exceptions are the ones it gives.

#include <cstddef>
#include <optional>
#include <ostream>

#include "mesh/mesh.h"
#include "mesh/statistics.h"

// Mesh::validate, which reads every face's three edges anyway, measuring on the way the
// areas printStatistics would. `areas` is set only when every face was measured; then
// printAreaRange writes what printStatistics would, without a second walk. It can be set
// while the answer is false: every face a sound triangle, but a vertex loop broken or an
// edge outside its owners' loops. printStatistics walks only the face loops, so it would
// still find the same extremes.
bool validateMeasuringAreas(const Mesh& mesh, std::ostream& out, std::optional<AreaRange>& areas);

// Both passes: the same verdict, message and exception as Mesh::validate.
bool validateByWalking(const Mesh& mesh, std::ostream& out);

// The second pass alone: every edge must lie in the face loop of its face and in the
// vertex loop of its end vertex.
bool checkEdgeLoopsByWalking(const Mesh& mesh, std::ostream& out);
