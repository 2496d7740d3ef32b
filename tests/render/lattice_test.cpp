#include "render/lattice.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::array<int, 4> texel(const LatticeTexels& texels, int row, int column) {
  const int start = 4 * (latticeSize * row + column);
  return {texels.at(start), texels.at(start + 1), texels.at(start + 2), texels.at(start + 3)};
}

using Rgba = std::array<int, 4>;

}  // namespace

TEST(Lattice, CrossWithGreyRimOnTransparentGround) {
  LatticeTexels texels;
  texels.fill(9);  // whatever was there before must be overwritten
  fillLatticeTexture(texels);
  EXPECT_EQ(texel(texels, 0, 0), (Rgba{127, 127, 127, 0}));
  EXPECT_EQ(texel(texels, 64, 64), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(texel(texels, 49, 10), (Rgba{127, 127, 127, 255}));
  EXPECT_EQ(texel(texels, 10, 50), (Rgba{127, 127, 127, 255}));
  EXPECT_EQ(texel(texels, 10, 51), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(texel(texels, 10, 80), (Rgba{127, 127, 127, 0}));
  // Both band edges are inclusive: 76 is still white, 79 still opaque.
  EXPECT_EQ(texel(texels, 10, 76), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(texel(texels, 10, 77), (Rgba{127, 127, 127, 255}));
  EXPECT_EQ(texel(texels, 79, 10), (Rgba{127, 127, 127, 255}));
  EXPECT_EQ(texel(texels, 127, 127), (Rgba{127, 127, 127, 0}));
}

TEST(Lattice, BandsHaveTheirWidthsInEveryRowAndColumn) {
  LatticeTexels texels;
  fillLatticeTexture(texels);
  int opaque = 0;
  int white = 0;
  for (int row = 0; row < latticeSize; ++row) {
    for (int column = 0; column < latticeSize; ++column) {
      const Rgba value = texel(texels, row, column);
      EXPECT_EQ(value[0], value[1]);
      EXPECT_EQ(value[1], value[2]);
      if (value[3] == 255) ++opaque;
      if (value[0] == 255) ++white;
    }
  }
  // A cross of width w covers 128^2 - (128 - w)^2 texels.
  EXPECT_EQ(opaque, 128 * 128 - 96 * 96);
  EXPECT_EQ(white, 128 * 128 - 102 * 102);
}
