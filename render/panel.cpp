#include "render/panel.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Drawing in window pixels, giving back every state it touches; the raster position among
// them, which the trail copy expects at its default.
class WindowPixels {
 public:
  WindowPixels(int width, int height) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~WindowPixels() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
  }
  WindowPixels(const WindowPixels&) = delete;
  WindowPixels& operator=(const WindowPixels&) = delete;
};

// The panel's part inside the window; empty where none is.
CoveredPixels::Block insideWindow(const PanelLayout& panel, int windowWidth, int windowHeight) {
  const int left = std::max(0, panel.x);
  const int bottom = std::max(0, panel.y);
  const int right = std::min(windowWidth, panel.x + panel.width);
  const int top = std::min(windowHeight, panel.y + panel.height);
  return {left, bottom, std::max(0, right - left), std::max(0, top - bottom), {}};
}

void drawGlyphs(const TextRun& run, const GlyphAtlas& atlas) {
  const GlyphImage& glyphs = atlas.glyphs;
  const float texelWidth = 1.0f / static_cast<float>(glyphs.width);
  const float texelHeight = 1.0f / static_cast<float>(glyphs.height);
  glColor4f(run.colour.red, run.colour.green, run.colour.blue, 1.0f);
  int pen = run.x;
  for (char c : run.text) {
    const int code = hasGlyph(c) ? c : '?';
    const GlyphBox& box = glyphs.boxes[code];
    const int left = pen + box.left;
    const int top = run.baseline + box.top;
    const float s0 = static_cast<float>(box.atlasX) * texelWidth;
    const float s1 = static_cast<float>(box.atlasX + box.width) * texelWidth;
    const float t0 = static_cast<float>(box.atlasY) * texelHeight;
    const float t1 = static_cast<float>(box.atlasY + box.height) * texelHeight;
    glTexCoord2f(s0, t1);
    glVertex2i(left, top - box.height);
    glTexCoord2f(s1, t1);
    glVertex2i(left + box.width, top - box.height);
    glTexCoord2f(s1, t0);
    glVertex2i(left + box.width, top);
    glTexCoord2f(s0, t0);
    glVertex2i(left, top);
    pen += glyphs.metrics.advance[code];
  }
}

}  // namespace

void prepareAtlas(GlyphAtlas& atlas) {
  if (atlas.texture != 0 && glIsTexture(atlas.texture)) return;
  atlas.texture = 0;
  if (atlas.glyphs.width == 0) return;
  glPushAttrib(GL_TEXTURE_BIT);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  GLuint name = 0;
  glGenTextures(1, &name);
  atlas.texture = name;
  glBindTexture(GL_TEXTURE_2D, name);
  // Glyph quads lie on whole pixels at the texture's own size: each texel is one pixel.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, atlas.glyphs.width, atlas.glyphs.height, 0, GL_ALPHA,
               GL_UNSIGNED_BYTE, atlas.glyphs.alpha.data());
  glPopClientAttrib();
  glPopAttrib();
}

void releaseAtlas(GlyphAtlas& atlas) {
  if (atlas.texture != 0) {
    GLuint name = atlas.texture;
    glDeleteTextures(1, &name);
  }
  atlas.texture = 0;
}

void drawPanel(const PanelLayout& layout, const GlyphAtlas& atlas, int windowWidth,
               int windowHeight) {
  if (layout.width <= 0 || layout.height <= 0 || atlas.texture == 0) return;
  WindowPixels state(windowWidth, windowHeight);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0.0f, 0.0f, 0.0f, 0.8f);
  glRecti(layout.x, layout.y, layout.x + layout.width, layout.y + layout.height);
  glBindTexture(GL_TEXTURE_2D, atlas.texture);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glBegin(GL_QUADS);
  for (const TextRun& run : layout.runs) drawGlyphs(run, atlas);
  glEnd();
}

CoveredPixels keepCoveredPixels(const std::vector<PanelLayout>& panels, int windowWidth,
                                int windowHeight) {
  CoveredPixels covered;
  WindowPixels state(windowWidth, windowHeight);
  glReadBuffer(GL_BACK);
  for (const PanelLayout& panel : panels) {
    CoveredPixels::Block block = insideWindow(panel, windowWidth, windowHeight);
    if (block.width == 0 || block.height == 0) continue;
    block.rgba.resize(static_cast<std::size_t>(block.width) * block.height * 4);
    glReadPixels(block.x, block.y, block.width, block.height, GL_RGBA, GL_UNSIGNED_BYTE,
                 block.rgba.data());
    covered.blocks.push_back(std::move(block));
  }
  return covered;
}

void putBackCoveredPixels(const CoveredPixels& covered, int windowWidth, int windowHeight) {
  WindowPixels state(windowWidth, windowHeight);
  glDrawBuffer(GL_BACK);
  for (const CoveredPixels::Block& block : covered.blocks) {
    glRasterPos2i(block.x, block.y);
    glDrawPixels(block.width, block.height, GL_RGBA, GL_UNSIGNED_BYTE, block.rgba.data());
  }
}
