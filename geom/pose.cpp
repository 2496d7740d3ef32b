#include "geom/pose.h"

Pose inversePose(const Pose& pose) {
  const Quaternion& q = pose.orientation;
  const Quaternion inverse{-q.w, q.x, q.y, q.z};
  return {inverse, -transform(rotationMatrix(inverse), pose.position)};
}

void poseMatrixColumnMajor(const Pose& pose, double (&out)[16]) {
  const Matrix3 rotation = rotationMatrix(pose.orientation);
  const double translation[3] = {pose.position.x, pose.position.y, pose.position.z};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) out[4 * column + row] = rotation(row, column);
    out[12 + row] = translation[row];
    out[4 * row + 3] = 0.0;
  }
  out[15] = 1.0;
}
