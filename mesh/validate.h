#pragma once
// The consistency check walked literally, loop by loop, in both passes. Mesh::validate
// gives the same verdict, message and exception faster; this is its reference.

#include <ostream>

#include "mesh/mesh.h"

bool validateByWalking(const Mesh& mesh, std::ostream& out);
