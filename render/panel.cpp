#include "render/panel.h"

#include <GL/gl.h>

#include <algorithm>

#include "render/window_pixels.h"

namespace {

// The panel's part inside the window; empty where none is.
CoveredPixels::Block insideWindow(const PanelLayout& panel, int windowWidth, int windowHeight) {
  const int left = std::max(0, panel.x);
  const int bottom = std::max(0, panel.y);
  const int right = std::min(windowWidth, panel.x + panel.width);
  const int top = std::min(windowHeight, panel.y + panel.height);
  return {left, bottom, std::max(0, right - left), std::max(0, top - bottom), {}};
}

int powerOfTwoAtLeast(int value) {
  int power = 1;
  while (power < value) power *= 2;
  return power;
}

// Lays `coverage` of `colour` over the pixel, premultiplied.
void cover(unsigned char* pixel, int coverage, const TextColour& colour) {
  const float amount = static_cast<float>(coverage) / 255.0f;
  const float rest = 1.0f - amount;
  const float channels[3] = {colour.red, colour.green, colour.blue};
  for (int k = 0; k < 3; ++k) {
    pixel[k] = static_cast<unsigned char>(channels[k] * 255.0f * amount + pixel[k] * rest + 0.5f);
  }
  pixel[3] = static_cast<unsigned char>(255.0f * amount + pixel[3] * rest + 0.5f);
}

void addGlyphs(const PanelLayout& layout, const TextRun& run, const GlyphImage& glyphs,
               std::vector<unsigned char>& image) {
  int pen = run.x - layout.x;
  for (char c : run.text) {
    const int code = hasGlyph(c) ? c : '?';
    const GlyphBox& box = glyphs.boxes[code];
    const int top = run.baseline - layout.y + box.top;  // the row above the glyph's top row
    for (int row = 0; row < box.height; ++row) {
      const int y = top - 1 - row;
      if (y < 0 || y >= layout.height) continue;
      for (int column = 0; column < box.width; ++column) {
        const int x = pen + box.left + column;
        if (x < 0 || x >= layout.width) continue;
        const int coverage =
            glyphs.alpha[static_cast<std::size_t>(box.atlasY + row) * glyphs.width + box.atlasX +
                         column];
        if (coverage == 0) continue;
        cover(&image[(static_cast<std::size_t>(y) * layout.width + x) * 4], coverage, run.colour);
      }
    }
    pen += glyphs.metrics.advance[code];
  }
}

}  // namespace

std::vector<unsigned char> panelImage(const PanelLayout& layout, const GlyphImage& glyphs) {
  // The ground: black at 0.8, which leaves a fifth of the picture under it.
  std::vector<unsigned char> image(static_cast<std::size_t>(layout.width) * layout.height * 4, 0);
  for (std::size_t k = 3; k < image.size(); k += 4) image[k] = 204;
  for (const TextRun& run : layout.runs) addGlyphs(layout, run, glyphs, image);
  return image;
}

void preparePanel(PanelTexture& panel, const PanelLayout& layout, const GlyphImage& glyphs) {
  if (panel.texture != 0 && !glIsTexture(panel.texture)) panel.texture = 0;
  if (panel.texture != 0 && panel.layout == layout) return;
  panel.layout = layout;
  if (layout.width <= 0 || layout.height <= 0 || glyphs.width == 0) return;
  glPushAttrib(GL_TEXTURE_BIT);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  const int textureWidth = powerOfTwoAtLeast(layout.width);
  const int textureHeight = powerOfTwoAtLeast(layout.height);
  if (panel.texture == 0) {
    GLuint name = 0;
    glGenTextures(1, &name);
    panel.texture = name;
    panel.textureWidth = 0;
  }
  glBindTexture(GL_TEXTURE_2D, panel.texture);
  if (panel.textureWidth != textureWidth || panel.textureHeight != textureHeight) {
    // The panel lies on whole pixels at the texture's own size: each texel is one pixel.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    panel.textureWidth = textureWidth;
    panel.textureHeight = textureHeight;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, layout.width, layout.height, GL_RGBA, GL_UNSIGNED_BYTE,
                  panelImage(layout, glyphs).data());
  glPopClientAttrib();
  glPopAttrib();
}

void releaseAtlas(GlyphAtlas& atlas) {
  for (PanelTexture& panel : atlas.panels) {
    if (panel.texture == 0) continue;
    GLuint name = panel.texture;
    glDeleteTextures(1, &name);
  }
  atlas.panels.clear();
}

void drawPanel(const PanelTexture& panel, int windowWidth, int windowHeight) {
  const PanelLayout& layout = panel.layout;
  if (panel.texture == 0 || layout.width <= 0 || layout.height <= 0) return;
  WindowPixels state(windowWidth, windowHeight);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);  // the image is premultiplied
  glBindTexture(GL_TEXTURE_2D, panel.texture);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const float right = static_cast<float>(layout.width) / static_cast<float>(panel.textureWidth);
  const float top = static_cast<float>(layout.height) / static_cast<float>(panel.textureHeight);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(layout.x, layout.y);
  glTexCoord2f(right, 0);
  glVertex2i(layout.x + layout.width, layout.y);
  glTexCoord2f(right, top);
  glVertex2i(layout.x + layout.width, layout.y + layout.height);
  glTexCoord2f(0, top);
  glVertex2i(layout.x, layout.y + layout.height);
  glEnd();
}

void drawPanels(const std::vector<PanelLayout>& layouts, GlyphAtlas& atlas, int windowWidth,
                int windowHeight) {
  if (atlas.panels.size() < layouts.size()) atlas.panels.resize(layouts.size());
  for (std::size_t k = 0; k < layouts.size(); ++k) {
    preparePanel(atlas.panels[k], layouts[k], atlas.glyphs);
    drawPanel(atlas.panels[k], windowWidth, windowHeight);
  }
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
