#include "render/lattice.h"

namespace {

bool inBand(int index, int first, int last) {
  return index >= first && index <= last;
}

}  // namespace

// The white band is 26 texels wide and the opaque band 32, so three grey texels
// on each side soften the edge that the alpha test cuts.
void fillLatticeTexture(LatticeTexels& texels) {
  for (int row = 0; row < latticeSize; ++row) {
    for (int column = 0; column < latticeSize; ++column) {
      const bool white = inBand(column, 51, 76) || inBand(row, 51, 76);
      const bool opaque = inBand(column, 48, 79) || inBand(row, 48, 79);
      const uint8_t grey = white ? 255 : 127;
      const int start = 4 * (latticeSize * row + column);
      texels.at(start) = grey;
      texels.at(start + 1) = grey;
      texels.at(start + 2) = grey;
      texels.at(start + 3) = opaque ? 255 : 0;
    }
  }
}
