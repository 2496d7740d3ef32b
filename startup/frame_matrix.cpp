#include "startup/frame_matrix.h"

const int frameFaceCorners[8][3] = {{1, 6, 10}, {7, 3, 8},  {6, 2, 7},   {8, 4, 9},
                                    {9, 5, 10}, {6, 7, 11}, {10, 6, 11}, {7, 8, 11}};

double determinant3x3(const Matrix3& m) {
  double det = 0.0;
  for (int k = 0; k < 3; ++k) {
    const int k1 = (k + 1) % 3;
    const int k2 = (k + 2) % 3;
    det += m(0, k) * m(1, k1) * m(2, k2) - m(0, k) * m(1, k2) * m(2, k1);
  }
  return det;
}

Matrix3 invert3x3(const Matrix3& m, std::ostream& out) {
  const double det = determinant3x3(m);
  double factor = det;
  if (det == 0) {
    out << "error" << std::endl;
  } else {
    // The printed digits follow from one reciprocal and nine products, not nine divisions.
    factor = 1 / det;
  }
  Matrix3 inverse{};
  for (int r = 0; r < 3; ++r) {
    const int r1 = (r + 1) % 3;
    const int r2 = (r + 2) % 3;
    inverse(r, 0) = (m(2, r2) * m(1, r1) - m(2, r1) * m(1, r2)) * factor;
    inverse(r, 1) = (m(2, r1) * m(0, r2) - m(2, r2) * m(0, r1)) * factor;
    inverse(r, 2) = (m(1, r2) * m(0, r1) - m(1, r1) * m(0, r2)) * factor;
  }
  return inverse;
}

Matrix3 faceFrameMatrix(const Vector3& p0, const Vector3& p1, const Vector3& p2) {
  const Vector3 side1 = p1 - p0;
  const Vector3 side2 = p2 - p0;
  return {{side1.x, side2.x, p0.x, side1.y, side2.y, p0.y, side1.z, side2.z, p0.z}};
}

FaceFrames faceFrames(const IcosahedronCorners& corners) {
  FaceFrames frames{};
  for (int i = 0; i < 8; ++i) {
    const int* face = frameFaceCorners[i];
    frames[i] = faceFrameMatrix(corners.at(face[0]), corners.at(face[1]), corners.at(face[2]));
  }
  return frames;
}
