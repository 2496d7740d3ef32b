#pragma once
// Start-up geometry: fills a mesh with the unit-edge icosahedron and writes the face
// frame tables and the iteration trace, leaving the stream at precision 19.

#include <ostream>

#include "mesh/mesh.h"

void buildStartMesh(Mesh& mesh, std::ostream& out);
