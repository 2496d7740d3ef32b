#include "render/figure.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/figure_grid.h"
#include "render/lattice.h"

Matrix4 figureRotation = identityMatrix4();
unsigned int figureTexture = 0;
bool textureWanted = true;

namespace {

// Reused from frame to frame: the two grids together are about 270 KB, too much to
// ask of every thread's stack, and they are rebuilt completely on every call.
FigureGrid figureGrid;

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

// Rings 1..73 close the tube; columns 1..98 span one turn of v, where the surface
// meets itself mirrored. The outer rows and columns only feed the differences.
void drawStrips(const FigureGrid& grid) {
  for (int ring = 1; ring <= 72; ++ring) {
    glBegin(GL_QUAD_STRIP);
    for (int column = 1; column <= 98; ++column) {
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
