#include "render/figure.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/figure_grid.h"
#include "render/lattice.h"

Matrix4 figureRotation = identityMatrix4();
unsigned int figureTexture = 0;
bool textureWanted = true;

namespace {

// Held for the whole run rather than on the drawing call's stack, where its 270 KB
// (positions and colours) would make every frame depend on a large stack. It carries
// nothing from one frame to the next: every call rebuilds it completely.
FigureGrid figureGrid;

// A drawn vertex takes its normal from the grid points on both sides of it, so the
// first and last ring and column are never drawn; a strip joins its ring to the next,
// so the last strip starts two rings before the last.
constexpr int firstStripRing = 1;
constexpr int lastStripRing = figureRings - 3;  // 72; its strip reaches ring 73
constexpr int firstStripColumn = 1;
constexpr int lastStripColumn = figureColumns - 2;  // 98

void setFigureState() {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// Once in the program's life: a texture lost later is not made again.
void createTextureIfWanted(std::ostream& out) {
  if (glIsTexture(figureTexture) || !textureWanted) return;
  textureWanted = false;
  out << "creating texture" << std::endl;
  GLuint name = 0;
  glGenTextures(1, &name);
  figureTexture = name;
  glBindTexture(GL_TEXTURE_2D, figureTexture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  static LatticeTexels texels;
  fillLatticeTexture(texels);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, latticeSize, latticeSize, GL_RGBA, GL_UNSIGNED_BYTE,
                    texels.data());
  glAlphaFunc(GL_GREATER, 0.4f);
  glEnable(GL_ALPHA_TEST);
  out << "created texture" << std::endl;
}

Vector3 normalAt(const FigureGrid& grid, int ring, int column) {
  const Vector3 alongRing = grid.position(ring + 1, column) - grid.position(ring - 1, column);
  const Vector3 alongColumn = grid.position(ring, column + 1) - grid.position(ring, column - 1);
  return normalized(cross(alongRing, alongColumn));
}

void emitVertex(const FigureGrid& grid, int ring, int column) {
  const Vector3 normal = normalAt(grid, ring, column);
  glNormal3f(static_cast<float>(normal.x), static_cast<float>(normal.y),
             static_cast<float>(normal.z));
  const Colour& colour = grid.colour(ring, column);
  glColor3f(colour.red, colour.green, colour.blue);
  // Half a tile of offset puts the cross bands on the grid lines through the vertices.
  glTexCoord2f(static_cast<float>(column + 0.5), static_cast<float>(ring + 0.5));
  const Vector3& position = grid.position(ring, column);
  glVertex3f(static_cast<float>(position.x), static_cast<float>(position.y),
             static_cast<float>(position.z));
}

// Rings 1 and 73 lie one turn of u apart, so the strips close the tube; columns 1 and
// 98 lie one turn of v apart, where the surface meets itself mirrored.
void drawStrips(const FigureGrid& grid) {
  for (int ring = firstStripRing; ring <= lastStripRing; ++ring) {
    glBegin(GL_QUAD_STRIP);
    for (int column = firstStripColumn; column <= lastStripColumn; ++column) {
      emitVertex(grid, ring, column);
      emitVertex(grid, ring + 1, column);
    }
    glEnd();
  }
}

}  // namespace

void drawFigure(double radius, double frameTime, std::ostream& out) {
  setFigureState();
  createTextureIfWanted(out);
  glEnable(GL_ALPHA_TEST);
  buildFigureGrid(figureRotation, radius, figureGrid);
  advanceFigureRotation(figureRotation, frameTime);
  drawStrips(figureGrid);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_ALPHA_TEST);
}
