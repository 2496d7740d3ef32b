#include "render/mesh_view.h"

#include <GL/gl.h>

void drawMeshPicture(const MeshPicture& picture) {
  if (picture.positions.empty()) return;
  const bool patches = picture.choice.kind == PictureKind::patches;
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  // The icosahedron's own corners lie inside the unit sphere, so their normals are shorter.
  glEnable(GL_NORMALIZE);
  // Each face in one colour and one light, so neighbouring faces stay apart.
  glShadeModel(GL_FLAT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  // On the unit sphere a point's position is its normal: one array serves both.
  glVertexPointer(3, GL_FLOAT, 0, picture.positions.data());
  glNormalPointer(GL_FLOAT, 0, picture.positions.data());
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, picture.colours.data());
  glDrawArrays(patches ? GL_QUADS : GL_TRIANGLES, 0,
               static_cast<GLsizei>(picture.positions.size() / 3));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glShadeModel(GL_SMOOTH);
  glDisable(GL_NORMALIZE);
  glDisable(GL_COLOR_MATERIAL);
}

void drawLegendSwatches(const Legend& legend, int windowWidth, int windowHeight) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  for (const LegendSwatch& swatch : legend.swatches) {
    glColor3ub(swatch.colour.red, swatch.colour.green, swatch.colour.blue);
    glRecti(swatch.x, swatch.y, swatch.x + swatch.width, swatch.y + swatch.height);
  }
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

void renderMeshFrame(const Settings& settings, const FrameState& state, const MeshPicture& picture,
                     TrailImage& image, SwapBuffersFunction swapBuffers) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  setView(settings, state);
  drawMeshPicture(picture);
  drawLegendSwatches(meshLegend(picture, settings.windowWidth, settings.windowHeight),
                     settings.windowWidth, settings.windowHeight);
  finishFrame(settings, image, swapBuffers);
}
