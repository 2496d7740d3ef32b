#include "startup/frame_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

Matrix3 product(const Matrix3& a, const Matrix3& b) {
  Matrix3 result{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      for (int k = 0; k < 3; ++k) result(r, c) += a(r, k) * b(k, c);
    }
  }
  return result;
}

void expectIdentity(const Matrix3& m, double tolerance) {
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(m(r, c), r == c ? 1.0 : 0.0, tolerance) << r << c;
  }
}

TEST(Determinant, OfKnownMatrices) {
  EXPECT_EQ(determinant3x3({{1, 0, 0, 0, 1, 0, 0, 0, 1}}), 1.0);
  EXPECT_EQ(determinant3x3({{2, 0, 0, 0, 3, 0, 0, 0, 4}}), 24.0);
  // Swapping two rows flips the sign; a general matrix checks every cofactor term.
  EXPECT_EQ(determinant3x3({{0, 1, 0, 1, 0, 0, 0, 0, 1}}), -1.0);
  EXPECT_EQ(determinant3x3({{2, -3, 1, 2, 0, -1, 1, 4, 5}}), 49.0);
}

TEST(Invert, IdentityInvertsToItselfSilently) {
  std::ostringstream out;
  const Matrix3 inverse = invert3x3({{1, 0, 0, 0, 1, 0, 0, 0, 1}}, out);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(inverse.m[i], (i % 4 == 0) ? 1.0 : 0.0) << i;
  EXPECT_EQ(out.str(), "");
}

TEST(Invert, GeneralMatrixGivesItsInverse) {
  const Matrix3 m{{2, -3, 1, 2, 0, -1, 1, 4, 5}};
  std::ostringstream out;
  const Matrix3 inverse = invert3x3(m, out);
  expectIdentity(product(m, inverse), 1e-15);
  expectIdentity(product(inverse, m), 1e-15);
  EXPECT_EQ(inverse(0, 0), 4.0 / 49.0);
}

TEST(Invert, SingularMatrixReportsErrorAndGivesZeros) {
  for (const Matrix3& singular :
       {Matrix3{{1, 2, 3, 0, 0, 0, 4, 5, 6}}, Matrix3{{1, 2, 3, 2, 4, 6, 7, 8, 9}}, Matrix3{}}) {
    std::ostringstream out;
    const Matrix3 inverse = invert3x3(singular, out);
    EXPECT_EQ(out.str(), "error\n");
    for (double entry : inverse.m) EXPECT_EQ(entry, 0.0);
  }
}

TEST(Invert, NearlySingularButNonZeroDeterminantIsStillInverted) {
  const Matrix3 m{{1e-6, 0, 0, 0, 1e-6, 0, 0, 0, 1e-6}};
  std::ostringstream out;
  const Matrix3 inverse = invert3x3(m, out);
  EXPECT_EQ(out.str(), "");
  EXPECT_NEAR(inverse(0, 0), 1e6, 1e-3);
}

TEST(FaceFrames, MapFaceCoordinatesToTheCornersAndInvert) {
  const IcosahedronCorners corners = icosahedronCorners();
  const FaceFrames frames = faceFrames(corners);
  for (int i = 0; i < 8; ++i) {
    const Matrix3& a = frames[i];
    const Vector3 p0 = corners[frameFaceCorners[i][0]];
    const Vector3 p1 = corners[frameFaceCorners[i][1]];
    const Vector3 p2 = corners[frameFaceCorners[i][2]];
    const Vector3 mapped0 = transform(a, {0, 0, 1});
    const Vector3 mapped1 = transform(a, {1, 0, 1});
    const Vector3 mapped2 = transform(a, {0, 1, 1});
    EXPECT_EQ(mapped0.x, p0.x);
    EXPECT_EQ(mapped0.y, p0.y);
    EXPECT_EQ(mapped0.z, p0.z);
    for (const auto& [mapped, corner] : {std::pair{mapped1, p1}, std::pair{mapped2, p2}}) {
      EXPECT_NEAR(mapped.x, corner.x, 1e-15) << "matrix " << i;
      EXPECT_NEAR(mapped.y, corner.y, 1e-15) << "matrix " << i;
      EXPECT_NEAR(mapped.z, corner.z, 1e-15) << "matrix " << i;
    }
    // Six times the volume of the pyramid from the centre to one face.
    EXPECT_NEAR(determinant3x3(a), 0.6545084971874737, 1e-15) << "matrix " << i;
    std::ostringstream out;
    expectIdentity(product(a, invert3x3(a, out)), 1e-14);
    EXPECT_EQ(out.str(), "");
  }
}

}  // namespace
