#include "geom/pose.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Vector3 apply(const Pose& pose, const Vector3& point) {
  return transform(rotationMatrix(pose.orientation), point) + pose.position;
}

TEST(InversePose, OfATranslation) {
  const Pose inverse = inversePose({{1, 0, 0, 0}, {0, 0, 5}});
  EXPECT_EQ(inverse.orientation.w, -1);
  EXPECT_EQ(inverse.orientation.x, 0);
  EXPECT_EQ(inverse.position.x, 0);
  EXPECT_EQ(inverse.position.z, -5);
}

TEST(InversePose, UndoesAGeneralRigidMotion) {
  Quaternion q{0.9, 0.1, -0.3, 0.2};
  normalize(q);
  const Pose pose{q, {1.5, -2, 0.25}};
  const Pose inverse = inversePose(pose);
  for (const Vector3& point : {Vector3{0, 0, 0}, Vector3{1, 2, 3}, Vector3{-4, 0.5, 7}}) {
    const Vector3 back = apply(inverse, apply(pose, point));
    EXPECT_NEAR(back.x, point.x, 1e-14);
    EXPECT_NEAR(back.y, point.y, 1e-14);
    EXPECT_NEAR(back.z, point.z, 1e-14);
  }
}

TEST(PoseMatrix, IsColumnMajorWithTranslationInTheLastColumn) {
  double m[16];
  poseMatrixColumnMajor(inversePose({{1, 0, 0, 0}, {0, 0, 5}}), m);
  const double translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], translation[i]) << i;

  // A quarter turn about z: column 0 (elements 0..3) is the image of x, that is y.
  const double half = std::sqrt(0.5);
  const Pose turn{{half, 0, 0, half}, {1, 2, 3}};
  poseMatrixColumnMajor(turn, m);
  const Matrix3 r = rotationMatrix(turn.orientation);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) EXPECT_EQ(m[4 * column + row], r(row, column));
  }
  EXPECT_NEAR(m[1], 1, 1e-15);
  EXPECT_NEAR(m[4], -1, 1e-15);
  EXPECT_EQ(m[3], 0);
  EXPECT_EQ(m[7], 0);
  EXPECT_EQ(m[11], 0);
  EXPECT_EQ(m[12], 1);
  EXPECT_EQ(m[13], 2);
  EXPECT_EQ(m[14], 3);
  EXPECT_EQ(m[15], 1);
}

}  // namespace
