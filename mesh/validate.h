#pragma once
// The mesh's consistency check: the fast answer a refinement step asks for, and the literal
// walks, loop by loop, that it must agree with. On any doubt the fast check runs the walks,
// so their messages and exceptions are the ones it gives. Mesh::validate, declared with the
// mesh, is the fast check without the areas.

#include <cstddef>
#include <optional>
#include <ostream>

#include "mesh/mesh.h"
#include "mesh/progress.h"
#include "mesh/shared_pass.h"
#include "mesh/statistics.h"

// Mesh::validate, which reads every face's three edges anyway, measuring on the way the
// areas printStatistics would. `areas` is set only when every face was measured; then
// printAreaRange writes what printStatistics would, without a second walk. It can be set
// while the answer is false: every face a sound triangle, but a vertex loop broken or an
// edge outside its owners' loops. printStatistics walks only the face loops, so it would
// still find the same extremes.
// Its fast passes share their work among up to threads.count threads (`threadsUsed`, where
// given, says how many the busiest pass had) and report to `progress` where there is one;
// the literal walks run on the calling thread alone and do not report, and `progress` is
// told the passes are over before they start.
bool validateMeasuringAreas(const Mesh& mesh, std::ostream& out, std::optional<AreaRange>& areas,
                            StepProgress* progress = nullptr, const StepThreads& threads = {},
                            unsigned* threadsUsed = nullptr);

// The literal walks of both passes: the same verdict, message and exception as
// Mesh::validate.
bool validateByWalking(const Mesh& mesh, std::ostream& out);

// The second pass alone: every edge must lie in the face loop of its face and in the
// vertex loop of its end vertex.
bool checkEdgeLoopsByWalking(const Mesh& mesh, std::ostream& out);
