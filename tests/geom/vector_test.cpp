#include "geom/vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

#include "geom/assert.h"
#include "geom/print.h"

namespace {

TEST(Vector, ArithmeticAndCrossProduct) {
  const Vector3 a{1, 2, 3}, b{-4, 5, 0.5};
  const Vector3 sum = a + b, difference = a - b, scaled = 2.0 * a, scaledRight = a * 2.0;
  EXPECT_EQ(sum.x, -3);
  EXPECT_EQ(sum.z, 3.5);
  EXPECT_EQ(difference.y, -3);
  EXPECT_EQ(scaled.z, 6);
  EXPECT_EQ(scaledRight.y, 4);
  // Right-handed: x cross y is z, and the product is orthogonal to both factors.
  const Vector3 z = cross({1, 0, 0}, {0, 1, 0});
  EXPECT_EQ(z.x, 0);
  EXPECT_EQ(z.y, 0);
  EXPECT_EQ(z.z, 1);
  const Vector3 c = cross(a, b);
  EXPECT_EQ(c.x, 2 * 0.5 - 3 * 5);
  EXPECT_EQ(c.y, 3 * -4 - 1 * 0.5);
  EXPECT_EQ(c.z, 1 * 5 - 2 * -4);
}

TEST(Vector, NormalizeInPlaceAndCopy) {
  Vector3 v{3, 0, 4};
  const Vector3 copy = normalized(v);
  EXPECT_EQ(v.x, 3);  // the copy leaves its argument alone
  Vector3& same = normalize(v);
  EXPECT_EQ(&same, &v);
  EXPECT_EQ(v.x, 3 * (1 / 5.0));
  EXPECT_EQ(v.z, 4 * (1 / 5.0));
  EXPECT_EQ(copy.x, v.x);

  Quaternion q{1, 1, 1, 1};
  normalize(q);
  EXPECT_EQ(q.w, 0.5);
  EXPECT_EQ(q.z, 0.5);

  Vector4 four{{1, 2, 3, 4}};
  scaleInPlace(four, -2);
  EXPECT_EQ(four[3], -8);
}

// The squares are summed from x to z: summing y and z first rounds this example to
// another double, and a printed length would change in its last digit.
TEST(Vector, DotAndLengthSumLeftToRight) {
  EXPECT_EQ(dot({1, 2, 3}, {4, -5, 6}), 12);
  EXPECT_EQ(length({3, 0, 4}), 5);
  const double small = 0x1.8p-27;
  EXPECT_EQ(length({1, small, small}), 0x1.0000000000001p+0);
  EXPECT_EQ(length({small, small, 1}), 1);
}

TEST(Quaternion, HamiltonProductOfUnits) {
  const Quaternion i = {0, 1, 0, 0};
  const Quaternion j = {0, 0, 1, 0};
  const Quaternion k = quaternionProduct(i, j);
  EXPECT_EQ(k.z, 1.0);
  EXPECT_EQ(quaternionProduct(j, i).z, -1.0);
  EXPECT_EQ(k.w, 0.0);
  EXPECT_EQ(quaternionProduct(k, k).w, -1.0);
}

TEST(Vector, NormalizingZeroGivesNonFiniteInsteadOfSilentZero) {
  Vector3 zero{0, 0, 0};
  normalize(zero);
  EXPECT_FALSE(std::isfinite(zero.x));
}

TEST(Print, VectorForm) {
  std::ostringstream out;
  out << Vector3{1, 2, 3};
  EXPECT_EQ(out.str(), "vector:\n[1,\t2,\t3]\n");
}

TEST(Print, QuaternionFormAtTheStreamsPrecision) {
  std::ostringstream out;
  out << Quaternion{1, 0, 0, 0};
  EXPECT_EQ(out.str(), "Quaternion:\n[1,\t0,\t0,\t0]\n");
  out.str("");
  out.precision(19);
  out << Quaternion{0.1, -0.5, 1e-20, 2};
  EXPECT_EQ(out.str(),
            "Quaternion:\n[0.1000000000000000056,\t-0.5,\t9.999999999999999452e-21,\t2]\n");
}

TEST(Assert, FailureThrowsTheOneMessage) {
  EXPECT_NO_THROW(my_assert(true));
  try {
    my_assert(false);
    FAIL() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Custom my_assert failed");
  }
}

}  // namespace
