#pragma once
// How even a triangulation is: the ratio of the largest to the smallest face area
// and its distance from 1, written as two lines.

#include <ostream>

#include "mesh/mesh.h"

void printStatistics(const Mesh& mesh, std::ostream& out);
