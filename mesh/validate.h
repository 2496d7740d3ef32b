#pragma once
// The consistency check walked literally, loop by loop, in both passes. Mesh::validate
// gives the same verdict, message and exception faster; this is its reference.

#include <cstddef>
#include <ostream>

#include "mesh/mesh.h"

bool validateByWalking(const Mesh& mesh, std::ostream& out);

// The second pass alone, from edge `firstEdge` on: every edge must lie in the face loop
// of its face and in the vertex loop of its end vertex.
bool checkEdgeLoopsByWalking(const Mesh& mesh, std::ostream& out, std::size_t firstEdge);
