#pragma once
// How even a triangulation is: the ratio of the largest to the smallest face area
// and its distance from 1, written as two lines.

#include <ostream>

#include "geom/vector.h"
#include "mesh/mesh.h"

// The running extremes of the face areas. The starting values are not limits: a mesh
// with no faces keeps them, and prints their ratio.
struct AreaRange {
  double minArea = 1e6;
  double maxArea = -1e8;
};

// Half the length of the cross product of the two sides that leave p.
double triangleArea(const Vector3& p, const Vector3& q, const Vector3& r);

// Strict comparisons: a NaN area changes neither end, so the order of the faces
// does not matter.
inline void includeArea(AreaRange& range, double area) {
  if (area > range.maxArea) range.maxArea = area;
  if (area < range.minArea) range.minArea = area;
}

// The ratio of the largest to the smallest area, as printed.
inline double areaRatio(const AreaRange& range) {
  return range.maxArea / range.minArea;
}

// The two lines: the ratio of the largest to the smallest area, and that ratio minus 1.
void printAreaRange(const AreaRange& range, std::ostream& out);

// Changes nothing. Reads every face's three corners, so a broken face loop throws
// std::out_of_range before anything is printed; an empty mesh prints -100 and -101.
// Returns the range it printed.
AreaRange printStatistics(const Mesh& mesh, std::ostream& out);
