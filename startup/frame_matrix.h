#pragma once
// Face frame matrices: the 3x3 matrix carrying face coordinates (s, t, w) to the point
// s(P1 - P0) + t(P2 - P0) + wP0, and the determinant and inverse that undo it.

#include <array>
#include <ostream>

#include "geom/matrix.h"
#include "geom/vector.h"
#include "startup/icosahedron.h"

double determinant3x3(const Matrix3& m);

// adj(m) times 1/det. A determinant of exactly 0 writes "error" and gives the all-zero
// matrix (signed zeros included); every other determinant is inverted, however small.
Matrix3 invert3x3(const Matrix3& m, std::ostream& out);

// Columns P1 - P0, P2 - P0, P0.
Matrix3 faceFrameMatrix(const Vector3& p0, const Vector3& p1, const Vector3& p2);

// The eight tabulated faces' corners P0, P1, P2 (vertex numbers), in table order.
extern const int frameFaceCorners[8][3];

using FaceFrames = std::array<Matrix3, 8>;
FaceFrames faceFrames(const IcosahedronCorners& corners);
