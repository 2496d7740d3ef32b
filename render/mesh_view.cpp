#include "render/mesh_view.h"

#include <GL/gl.h>

#include "render/window_pixels.h"

namespace {

// The patches' texture; made on first use and again when lost with its context.
GLuint patchTexture = 0;

// Loads the picture's texels once into the texture, and binds it.
void bindPatchTexture(const MeshPicture& picture) {
  if (patchTexture == 0 || !glIsTexture(patchTexture)) {
    glGenTextures(1, &patchTexture);
    picture.textureLoaded = false;
  }
  glBindTexture(GL_TEXTURE_2D, patchTexture);
  if (picture.textureLoaded) return;
  // Each texel is a patch's colour, shown as such: no blending with its neighbours.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth(picture), textureHeight(picture), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, picture.texels.data());
  picture.textureLoaded = true;
}

// The patches are far smaller than the quads that carry them: their outlines would say
// nothing of the mesh, so they are always filled.
void drawPatches(const MeshPicture& picture) {
  GLint figureTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &figureTexture);
  bindPatchTexture(picture);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(1, 1, 1, 1);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, 0, picture.textureCoordinates.data());
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(picture.positions.size() / 3));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(figureTexture));
}

}  // namespace

void drawMeshPicture(const MeshPicture& picture) {
  if (picture.positions.empty()) return;
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  // The icosahedron's own corners lie inside the unit sphere, so their normals are shorter.
  glEnable(GL_NORMALIZE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  // On the unit sphere a point's position is its normal: one array serves both.
  glVertexPointer(3, GL_FLOAT, 0, picture.positions.data());
  glNormalPointer(GL_FLOAT, 0, picture.positions.data());
  if (picture.choice.kind == PictureKind::patches) {
    drawPatches(picture);
  } else {
    // Each face in one colour and one light, so neighbouring faces stay apart.
    glShadeModel(GL_FLAT);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, picture.colours.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(picture.positions.size() / 3));
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_SMOOTH);
  }
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisable(GL_NORMALIZE);
  glDisable(GL_COLOR_MATERIAL);
}

void drawLegendSwatches(const Legend& legend, int windowWidth, int windowHeight) {
  WindowPixels state(windowWidth, windowHeight);
  for (const LegendSwatch& swatch : legend.swatches) {
    glColor3ub(swatch.colour.red, swatch.colour.green, swatch.colour.blue);
    glRecti(swatch.x, swatch.y, swatch.x + swatch.width, swatch.y + swatch.height);
  }
}

void renderMeshFrame(const Settings& settings, const FrameState& state, const MeshPicture& picture,
                     TrailImage& image, SwapBuffersFunction swapBuffers,
                     const std::vector<PanelLayout>& panels, GlyphAtlas* atlas) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  setView(settings, state);
  drawMeshPicture(picture);
  drawLegendSwatches(meshLegend(picture, settings.windowWidth), settings.windowWidth,
                     settings.windowHeight);
  finishFrame(settings, image, swapBuffers, panels, atlas);
}
