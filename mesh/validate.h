#pragma once
// The consistency check walked literally, loop by loop. Mesh::validate (declared with the
// mesh, defined beside these) answers faster and must agree with them; on any doubt it
// runs them, so their messages and exceptions are the ones it gives.

#include <cstddef>
#include <ostream>

#include "mesh/mesh.h"

// Both passes: the same verdict, message and exception as Mesh::validate.
bool validateByWalking(const Mesh& mesh, std::ostream& out);

// The second pass alone, from edge `firstEdge` on: every edge must lie in the face loop
// of its face and in the vertex loop of its end vertex.
bool checkEdgeLoopsByWalking(const Mesh& mesh, std::ostream& out, std::size_t firstEdge);
