#pragma once
// Drawing text panels over the picture with OpenGL 1.1: each panel, its dark translucent ground
// and its glyphs, made into one texture when it changes and drawn as one quad every frame; and
// keeping the trail free of them.

#include <vector>

#include "render/glyphs.h"
#include "render/text_layout.h"
#include "render/trails.h"

// The panel as one image, premultiplied RGBA, rows from the bottom as GL counts them: the ground
// and the glyphs over it.
std::vector<unsigned char> panelImage(const PanelLayout& layout, const GlyphImage& glyphs);

// One panel's texture and the layout it was made from.
struct PanelTexture {
  PanelLayout layout;
  unsigned int texture = 0;  // 0 until made, and again when it went with a lost context
  int textureWidth = 0;      // powers of two at least the panel's size
  int textureHeight = 0;
};

// The glyphs, and the textures of the panels made from them, one for each panel of a frame in
// its order. A texture a panel, so one quad draws it: the table of keys at 1024x768 on llvmpipe
// took 5.4 ms a frame drawn as a quad a glyph, 2.4 ms so (medians of 200 draws; making the
// texture anew takes 6.1 ms, once).
struct GlyphAtlas {
  GlyphImage glyphs;
  std::vector<PanelTexture> panels;
};

// Makes the panel's texture where it holds another layout or none. Leaves the bound texture as
// it was.
void preparePanel(PanelTexture& panel, const PanelLayout& layout, const GlyphImage& glyphs);

// Frees the panels' textures; the glyphs stay.
void releaseAtlas(GlyphAtlas& atlas);

// Draws the panel in window pixels of a `windowWidth`x`windowHeight` window; leaves every GL
// state as it found it. Draws nothing where it has no texture.
void drawPanel(const PanelTexture& panel, int windowWidth, int windowHeight);

// Prepares and draws `layouts` with the atlas's panel textures.
void drawPanels(const std::vector<PanelLayout>& layouts, GlyphAtlas& atlas, int windowWidth,
                int windowHeight);

// The picture under panels, kept before they are drawn so the trail can get it back.
struct CoveredPixels {
  struct Block {
    int x;
    int y;
    int width;
    int height;
    std::vector<unsigned char> rgba;
  };
  std::vector<Block> blocks;
};

// What the panels will cover in the back buffer, read before they are drawn.
CoveredPixels keepCoveredPixels(const std::vector<PanelLayout>& panels, int windowWidth,
                                int windowHeight);

// Puts the kept pixels back into the back buffer.
void putBackCoveredPixels(const CoveredPixels& covered, int windowWidth, int windowHeight);
