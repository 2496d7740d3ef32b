#pragma once
// How even a triangulation is: the ratio of the largest to the smallest face area
// and its distance from 1, written as two lines.

#include <ostream>

#include "mesh/mesh.h"

// Changes nothing. Reads every face's three corners, so a broken face loop throws
// std::out_of_range before anything is printed; an empty mesh prints -100 and -101.
void printStatistics(const Mesh& mesh, std::ostream& out);
