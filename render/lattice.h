#pragma once
// The figure's procedural texture: one tile of a white cross with a grey rim on a
// transparent ground, which the alpha test turns into a see-through lattice.

#include <array>
#include <cstdint>

constexpr int latticeSize = 128;  // texels per side

// RGBA bytes, rows one after another: texel (row, column) starts at 4 * (128 * row + column).
using LatticeTexels = std::array<uint8_t, 4 * latticeSize * latticeSize>;

void fillLatticeTexture(LatticeTexels& texels);
