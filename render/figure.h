#pragma once
// The figure the window shows: the four-dimensional Klein bottle, turned, projected
// to 3D, coloured by its fourth coordinate and drawn as a lattice through the texture.

#include <ostream>

#include "geom/matrix.h"

extern Matrix4 figureRotation;      // accumulated 4D turn; identity at start
extern unsigned int figureTexture;  // GL texture name of the lattice; 0 until created
extern bool textureWanted;          // cleared when the texture is made: it is made once

// Draws with the current model-view matrix, then advances the turn by frameTime.
// The first call that finds no texture creates it and says so on `out`.
void drawFigure(double radius, double frameTime, std::ostream& out);
