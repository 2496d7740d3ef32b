#pragma once
// The unit-edge icosahedron the program starts from: its twelve corner positions and
// the fixed vertex, edge and face records that enter them into a mesh.

#include <array>

#include "geom/vector.h"
#include "mesh/mesh.h"

using IcosahedronCorners = std::array<Vector3, 12>;

// Vertex 0 is the bottom apex, 1..5 the lower ring, 6..10 the upper ring, 11 the top.
IcosahedronCorners icosahedronCorners();

// Releases whatever the mesh held, reserves 12/60/20 and appends the records.
void fillIcosahedron(Mesh& mesh, const IcosahedronCorners& corners);
