#include "render/figure_grid.h"

#include <cmath>

namespace {

constexpr double ringStep = pi / 36;        // 5 degrees
constexpr double columnStep = 2 * pi / 97;  // 97 columns per turn of v

struct RingTrig {
  double sinU, cosU;
};

struct ColumnTrig {
  double sinV, cosV, sinHalfV, cosHalfV;
};

}  // namespace

Colour fourthCoordinateColour(double t) {
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  if (t < 0.5) return {0.0f, static_cast<float>(2 * t), static_cast<float>(1 - 2 * t)};
  return {static_cast<float>(2 * t - 1), static_cast<float>(2 - 2 * t), 0.0f};
}

// The sines and cosines depend on the ring or on the column alone, so they are taken
// once per ring and per column instead of once per point; the values are the same.
void buildFigureGrid(const Matrix4& rotation, double radius, FigureGrid& grid) {
  std::array<RingTrig, figureRings> rings;
  for (int i = 0; i < figureRings; ++i) {
    const double u = i * ringStep;
    rings.at(i) = {std::sin(u), std::cos(u)};
  }
  std::array<ColumnTrig, figureColumns> columns;
  for (int j = 0; j < figureColumns; ++j) {
    const double v = j * columnStep;
    columns.at(j) = {std::sin(v), std::cos(v), std::sin(v / 2), std::cos(v / 2)};
  }

  const double inverseRadius = 1 / radius;
  for (int i = 0; i < figureRings; ++i) {
    const RingTrig& ring = rings.at(i);
    for (int j = 0; j < figureColumns; ++j) {
      const ColumnTrig& column = columns.at(j);
      const double m = 1 + radius * ring.sinU * column.cosHalfV;
      const Vector4 point{{m * column.sinV, m * column.cosV, radius * ring.cosU,
                           radius * ring.sinU * column.sinHalfV}};
      const Vector4 turned = transform(rotation, point);
      grid.position(i, j) = {turned[0], turned[1], turned[2]};
      grid.colour(i, j) = fourthCoordinateColour(turned[3] * inverseRadius * 0.5 + 0.5);
    }
  }
}

void advanceFigureRotation(Matrix4& rotation, double dt) {
  rotateInPlane(rotation, 0, 1, 0.1 * dt);
  rotateInPlane(rotation, 0, 2, 0.11 * dt);
  rotateInPlane(rotation, 0, 3, 0.13 * dt);
  rotateInPlane(rotation, 1, 2, 0.07 * dt);
  rotateInPlane(rotation, 1, 3, 0.09 * dt);
  rotateInPlane(rotation, 2, 3, 0.05 * dt);
  orthonormalize(rotation);
}
