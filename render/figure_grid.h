#pragma once
// The four-dimensional Klein bottle as a grid of projected points with colours, and
// its slow turn in all six planes of 4D. No GL here: drawing lives in render/figure.

#include <array>

#include "geom/matrix.h"
#include "geom/vector.h"

constexpr int figureRings = 75;     // ring i at u = 5 degrees * i; 73 and 74 repeat 1 and 2
constexpr int figureColumns = 100;  // column j at v = 2 pi j / 97; 97..99 repeat 0..2

struct Colour {
  float red, green, blue;
};

struct FigureGrid {
  std::array<Vector3, figureRings * figureColumns> positions;  // 3D: the fourth coordinate dropped
  std::array<Colour, figureRings * figureColumns> colours;     // from the fourth coordinate

  Vector3& position(int ring, int column) { return positions.at(figureColumns * ring + column); }
  const Vector3& position(int ring, int column) const {
    return positions.at(figureColumns * ring + column);
  }
  Colour& colour(int ring, int column) { return colours.at(figureColumns * ring + column); }
  const Colour& colour(int ring, int column) const {
    return colours.at(figureColumns * ring + column);
  }
};

// t in [0, 1] (clamped): blue at 0, green at 0.5, red at 1, linear in between.
Colour fourthCoordinateColour(double t);

// Every grid point of the bottle with tube radius `radius`, turned by `rotation`.
void buildFigureGrid(const Matrix4& rotation, double radius, FigureGrid& grid);

// One time step of the turn, then re-orthonormalised so rounding cannot shear it.
void advanceFigureRotation(Matrix4& rotation, double dt);
