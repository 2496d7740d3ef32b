#include "geom/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

double rowDot(const Matrix4& m, int a, int b) {
  double sum = 0;
  for (int c = 0; c < 4; ++c) sum += m(a, c) * m(b, c);
  return sum;
}

void expectOrthonormalRows(const Matrix4& m, double tolerance) {
  for (int a = 0; a < 4; ++a) {
    for (int b = 0; b < 4; ++b) EXPECT_NEAR(rowDot(m, a, b), a == b ? 1.0 : 0.0, tolerance);
  }
}

TEST(RotationMatrix, QuarterTurnAboutZ) {
  const double half = std::sqrt(0.5);
  const Matrix3 r = rotationMatrix({half, 0, 0, half});
  const Vector3 x = transform(r, {1, 0, 0});
  EXPECT_NEAR(x.x, 0, 1e-15);
  EXPECT_NEAR(x.y, 1, 1e-15);
  EXPECT_NEAR(x.z, 0, 1e-15);
  const Vector3 z = transform(r, {0, 0, 2});
  EXPECT_NEAR(z.z, 2, 1e-15);
}

TEST(RotationMatrix, GeneralUnitQuaternionIsOrthonormalAndNonUnitScales) {
  Quaternion q{0.3, -0.5, 0.7, 0.2};
  normalize(q);
  const Matrix3 r = rotationMatrix(q);
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      double sum = 0;
      for (int c = 0; c < 3; ++c) sum += r(a, c) * r(b, c);
      EXPECT_NEAR(sum, a == b ? 1.0 : 0.0, 1e-15);
    }
  }
  // The formula is used as is: a quaternion of length 2 scales by 4.
  const Matrix3 scaled = rotationMatrix({2, 0, 0, 0});
  EXPECT_EQ(scaled(0, 0), 4);
  EXPECT_EQ(scaled(1, 1), 4);
  EXPECT_EQ(scaled(0, 1), 0);
}

TEST(Matrix4, ProductAndTransformActOnColumnVectors) {
  Matrix4 shear = identityMatrix4();
  shear(0, 3) = 5;  // x += 5w
  Matrix4 swap{};
  swap(0, 1) = swap(1, 0) = swap(2, 2) = swap(3, 3) = 1;
  const Vector4 v{{1, 2, 3, 1}};
  const Vector4 shearThenSwap = transform(swap * shear, v);
  EXPECT_EQ(shearThenSwap[0], 2);
  EXPECT_EQ(shearThenSwap[1], 6);
  EXPECT_EQ(shearThenSwap[2], 3);
  EXPECT_EQ(shearThenSwap[3], 1);
}

TEST(RotateInPlane, QuarterTurnOfTheIdentity) {
  Matrix4 m = identityMatrix4();
  rotateInPlane(m, 0, 1, pi / 2);
  EXPECT_NEAR(m(0, 0), 0, 1e-16);
  EXPECT_EQ(m(0, 1), -1);
  EXPECT_EQ(m(1, 0), 1);
  EXPECT_NEAR(m(1, 1), 0, 1e-16);
  EXPECT_EQ(m(2, 2), 1);
  EXPECT_EQ(m(3, 3), 1);
}

TEST(RotateInPlane, ComposesNewRotationsOnTheLeft) {
  Matrix4 m = identityMatrix4();
  rotateInPlane(m, 0, 1, pi / 2);
  rotateInPlane(m, 1, 2, pi / 2);
  // R12 * R01 takes axis 0 to axis 1 first, then axis 1 to axis 2.
  const Vector4 image = transform(m, Vector4{{1, 0, 0, 0}});
  EXPECT_NEAR(image[0], 0, 1e-15);
  EXPECT_NEAR(image[1], 0, 1e-15);
  EXPECT_NEAR(image[2], 1, 1e-15);
}

TEST(RotateInPlane, RefusesBadAxesAndLeavesTheMatrixAlone) {
  Matrix4 m = identityMatrix4();
  rotateInPlane(m, 2, 3, 0.25);
  const Matrix4 before = m;
  for (const auto& [a, b] : {std::pair{1, 1}, std::pair{0, 4}, std::pair{4, 0}, std::pair{-1, 2},
                             std::pair{2, -1}, std::pair{3, 3}}) {
    EXPECT_THROW(rotateInPlane(m, a, b, 0.5), std::runtime_error) << a << ", " << b;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], before.m[i]) << a << ", " << b;
  }
}

TEST(Orthonormalize, RepairsADriftedRotationKeepingTheLastRowsDirection) {
  Matrix4 m = identityMatrix4();
  for (int step = 0; step < 6; ++step) rotateInPlane(m, step % 4, (step + 1) % 4, 0.3 + step);
  for (int i = 0; i < 16; ++i) m.m[i] *= 1 + 1e-3 * ((i * 7) % 5);
  const Matrix4 drifted = m;
  orthonormalize(m);
  expectOrthonormalRows(m, 1e-15);
  const double length = std::sqrt(rowDot(drifted, 3, 3));
  for (int c = 0; c < 4; ++c) EXPECT_EQ(m(3, c), drifted(3, c) / length);
  // Row 2 is row 2 with row 3's share removed: it stays in their span.
  double alongOld = 0;
  for (int c = 0; c < 4; ++c) alongOld += m(2, c) * drifted(2, c);
  EXPECT_GT(alongOld, 0.99);
}

TEST(Orthonormalize, LeavesARotationAsItIsUpToRounding) {
  Matrix4 m = identityMatrix4();
  rotateInPlane(m, 0, 3, 0.7);
  rotateInPlane(m, 1, 2, -1.1);
  const Matrix4 before = m;
  orthonormalize(m);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.m[i], before.m[i], 1e-15);
}

}  // namespace
