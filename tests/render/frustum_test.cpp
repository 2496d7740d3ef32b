#include "render/frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Frustum, FollowsTheWindowDiagonalWithSine) {
  Settings settings = startSettings();
  Frustum frustum = frustumFor(settings, 1024, 768);
  EXPECT_NEAR(frustum.right, 0.001 * 0.8660254 * 0.8, 1e-10);
  EXPECT_NEAR(frustum.top, 0.001 * 0.8660254 * 0.6, 1e-10);
  EXPECT_EQ(frustum.left, -frustum.right);
  EXPECT_EQ(frustum.bottom, -frustum.top);
  EXPECT_EQ(frustum.nearPlane, static_cast<double>(0.001f));
  EXPECT_EQ(frustum.farPlane, 200.0);
}

TEST(Frustum, SquareWindowHasEqualHalfSides) {
  Settings settings = startSettings();
  Frustum frustum = frustumFor(settings, 600, 600);
  EXPECT_EQ(frustum.right, frustum.top);
  EXPECT_NEAR(frustum.right, 0.001 * 0.8660254 / std::sqrt(2.0), 1e-10);
}

TEST(Frustum, HugeDrawableStaysFinite) {
  Settings settings = startSettings();
  Frustum frustum = frustumFor(settings, 40000, 40000);
  EXPECT_TRUE(std::isfinite(frustum.right));
  EXPECT_NEAR(frustum.right, 0.001 * 0.8660254 / std::sqrt(2.0), 1e-9);
}

}  // namespace

namespace {

TEST(Frustum, CollapsedWindowCountsAsOnePixel) {
  Settings settings = startSettings();
  Frustum collapsed = frustumFor(settings, 0, 0);
  Frustum onePixel = frustumFor(settings, 1, 1);
  EXPECT_TRUE(std::isfinite(collapsed.right));
  EXPECT_EQ(collapsed.right, onePixel.right);
  EXPECT_EQ(collapsed.top, onePixel.top);
  EXPECT_GT(frustumFor(settings, 800, 0).top, 0.0);
}

}  // namespace
