#pragma once
// Row-major 3x3 and 4x4 double matrices acting on column vectors, with the quaternion
// rotation matrix and the 4D plane rotations that turn the figure.

#include "geom/vector.h"

struct Matrix3 {
  double m[9];  // element (row, column) at 3 * row + column
  double& operator()(int row, int column) { return m[3 * row + column]; }
  double operator()(int row, int column) const { return m[3 * row + column]; }
};

struct Matrix4 {
  double m[16];  // element (row, column) at 4 * row + column
  double& operator()(int row, int column) { return m[4 * row + column]; }
  double operator()(int row, int column) const { return m[4 * row + column]; }
};

Matrix4 identityMatrix4();

// Used as is, so a non-unit q also scales by its squared length.
Matrix3 rotationMatrix(const Quaternion& q);
Vector3 transform(const Matrix3& matrix, const Vector3& v);

Matrix4 operator*(const Matrix4& a, const Matrix4& b);
Vector4 transform(const Matrix4& matrix, const Vector4& v);

// matrix <- R * matrix, R rotating axis a toward axis b by angle. Distinct axes
// below 4 or my_assert fails with the matrix untouched.
void rotateInPlane(Matrix4& matrix, int axisA, int axisB, double angle);

// Modified Gram-Schmidt on the rows, last row first.
void orthonormalize(Matrix4& matrix);
