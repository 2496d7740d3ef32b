#include "geom/matrix.h"

#include <cmath>

#include "geom/assert.h"

Matrix4 identityMatrix4() {
  return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix3 rotationMatrix(const Quaternion& q) {
  const double w = q.w, x = q.x, y = q.y, z = q.z;
  return {{w * w + x * x - y * y - z * z, 2 * (x * y - w * z), 2 * (w * y + x * z),
           2 * (x * y + w * z), w * w + y * y - x * x - z * z, 2 * (y * z - w * x),
           2 * (x * z - w * y), 2 * (y * z + w * x), w * w + z * z - x * x - y * y}};
}

Vector3 transform(const Matrix3& matrix, const Vector3& v) {
  return {matrix(0, 0) * v.x + matrix(0, 1) * v.y + matrix(0, 2) * v.z,
          matrix(1, 0) * v.x + matrix(1, 1) * v.y + matrix(1, 2) * v.z,
          matrix(2, 0) * v.x + matrix(2, 1) * v.y + matrix(2, 2) * v.z};
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 product{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a(row, k) * b(k, column);
      product(row, column) = sum;
    }
  }
  return product;
}

Vector4 transform(const Matrix4& matrix, const Vector4& v) {
  Vector4 result{};
  for (int row = 0; row < 4; ++row) {
    double sum = 0.0;
    for (int column = 0; column < 4; ++column) sum += matrix(row, column) * v[column];
    result[row] = sum;
  }
  return result;
}

void rotateInPlane(Matrix4& matrix, int axisA, int axisB, double angle) {
  // Negative axes are refused too: they would index outside the matrix.
  my_assert(axisA != axisB && axisA >= 0 && axisB >= 0 && axisA < 4 && axisB < 4);
  Matrix4 rotation = identityMatrix4();
  const double cosine = std::cos(angle);
  const double sine = std::sin(angle);
  rotation(axisA, axisA) = cosine;
  rotation(axisB, axisB) = cosine;
  rotation(axisA, axisB) = -sine;
  rotation(axisB, axisA) = sine;
  matrix = rotation * matrix;
}

namespace {

double rowDot(const Matrix4& matrix, int rowA, int rowB) {
  double sum = 0.0;
  for (int column = 0; column < 4; ++column) sum += matrix(rowA, column) * matrix(rowB, column);
  return sum;
}

void normalizeRow(Matrix4& matrix, int row) {
  const double length = std::sqrt(rowDot(matrix, row, row));
  for (int column = 0; column < 4; ++column) matrix(row, column) /= length;
}

}  // namespace

void orthonormalize(Matrix4& matrix) {
  normalizeRow(matrix, 3);
  for (int row = 2; row >= 0; --row) {
    for (int finished = row + 1; finished < 4; ++finished) {
      const double projection = rowDot(matrix, row, finished);
      for (int column = 0; column < 4; ++column) {
        matrix(row, column) -= projection * matrix(finished, column);
      }
    }
    normalizeRow(matrix, row);
  }
}
