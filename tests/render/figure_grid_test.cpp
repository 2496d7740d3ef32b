#include "render/figure_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "render/frame.h"

namespace {

constexpr double radius = 0.75;

void expectNear(const Vector3& actual, const Vector3& expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectColour(const Colour& colour, float red, float green, float blue) {
  EXPECT_FLOAT_EQ(colour.red, red);
  EXPECT_FLOAT_EQ(colour.green, green);
  EXPECT_FLOAT_EQ(colour.blue, blue);
}

void expectMatricesNear(const Matrix4& actual, const Matrix4& expected, double tolerance) {
  for (int k = 0; k < 16; ++k)
    EXPECT_NEAR(actual.m[k], expected.m[k], tolerance) << "element " << k;
}

std::unique_ptr<FigureGrid> gridFor(const Matrix4& rotation) {
  auto grid = std::make_unique<FigureGrid>();
  buildFigureGrid(rotation, radius, *grid);
  return grid;
}

}  // namespace

TEST(FigureColour, BlueGreenRedAlongTheFourthCoordinate) {
  expectColour(fourthCoordinateColour(0.0), 0, 0, 1);
  expectColour(fourthCoordinateColour(0.25), 0, 0.5f, 0.5f);
  expectColour(fourthCoordinateColour(0.5), 0, 1, 0);
  expectColour(fourthCoordinateColour(0.75), 0.5f, 0.5f, 0);
  expectColour(fourthCoordinateColour(1.0), 1, 0, 0);
  expectColour(fourthCoordinateColour(-3.0), 0, 0, 1);
  expectColour(fourthCoordinateColour(7.0), 1, 0, 0);
}

TEST(FigureGrid, FirstPointAtTheIdentityIsGreenOnTheTube) {
  const auto grid = gridFor(identityMatrix4());
  expectNear(grid->position(0, 0), {0, 1, radius}, 1e-15);
  expectColour(grid->colour(0, 0), 0, 1, 0);
}

// Turning the fourth axis onto the third makes the fourth coordinate r cos u: +r at
// the first ring (red) and -r half way round the tube (blue).
TEST(FigureGrid, FourthCoordinateOfPlusOrMinusRadiusIsPureRedOrBlue) {
  Matrix4 rotation = identityMatrix4();
  rotateInPlane(rotation, 2, 3, pi / 2);
  const auto grid = gridFor(rotation);
  expectColour(grid->colour(0, 5), 1, 0, 0);
  expectColour(grid->colour(36, 5), 0, 0, 1);
}

// The extra ring and columns must continue the surface, or the central differences
// at the strips' edges and the seam of the bottle come out wrong.
TEST(FigureGrid, TubeClosesAndTheSeamMeetsItselfMirrored) {
  Matrix4 rotation = identityMatrix4();
  advanceFigureRotation(rotation, 3.7);  // any rotation: the closure must not depend on it
  const auto grid = gridFor(rotation);
  for (int j = 0; j < figureColumns; ++j) {
    expectNear(grid->position(72, j), grid->position(0, j), 1e-12);
    expectNear(grid->position(73, j), grid->position(1, j), 1e-12);
    expectNear(grid->position(74, j), grid->position(2, j), 1e-12);
  }
  // One turn of v later the tube's cross-section comes back mirrored: u becomes -u.
  for (int i = 0; i <= 72; ++i) {
    for (int j = 0; j < 3; ++j) {
      expectNear(grid->position(i, 97 + j), grid->position(72 - i, j), 1e-12);
    }
  }
}

TEST(FigureRotation, StandsStillAtZeroTimeAndStaysOrthonormalWhenTurning) {
  Matrix4 rotation = identityMatrix4();
  advanceFigureRotation(rotation, 0.0);
  expectMatricesNear(rotation, identityMatrix4(), 1e-15);

  for (int frame = 0; frame < 1000; ++frame) advanceFigureRotation(rotation, 0.1);
  const Matrix4 turned = rotation;
  advanceFigureRotation(rotation, 0.0);
  expectMatricesNear(rotation, turned, 1e-15);

  Matrix4 transposed{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) transposed(column, row) = rotation(row, column);
  }
  expectMatricesNear(rotation * transposed, identityMatrix4(), 1e-14);
}

TEST(FigureRotation, FollowsTimeNotCalls) {
  Matrix4 once = identityMatrix4();
  advanceFigureRotation(once, 0.01);
  EXPECT_NEAR(once(1, 0), 0.1 * 0.01, 1e-4);  // the (0, 1) plane turns at 0.1 per second
  Matrix4 split = identityMatrix4();
  advanceFigureRotation(split, 0.005);
  advanceFigureRotation(split, 0.005);
  expectMatricesNear(split, once, 1e-6);
}

TEST(Fade, AlphaGrowsWithTheFrameTime) {
  EXPECT_EQ(fadeAlpha(0.0), 0.35);
  EXPECT_NEAR(fadeAlpha(0.1), 0.38681, 1e-5);
}
