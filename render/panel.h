#pragma once
// Drawing text panels over the picture with OpenGL 1.1: the glyphs in one alpha texture, a
// dark translucent quad and a textured quad per glyph, and keeping the trail free of them.

#include <vector>

#include "render/glyphs.h"
#include "render/text_layout.h"
#include "render/trails.h"

struct GlyphAtlas {
  GlyphImage glyphs;
  unsigned int texture = 0;  // 0 until made, and again when it went with a lost context
};

// Makes the texture of `atlas.glyphs` where there is none: at first, after new glyphs and after
// a lost context. Leaves the bound texture as it was.
void prepareAtlas(GlyphAtlas& atlas);

// Frees the texture; the glyphs stay.
void releaseAtlas(GlyphAtlas& atlas);

// Draws `layout` in window pixels of a `windowWidth`x`windowHeight` window; leaves every GL
// state as it found it. Draws nothing where the atlas has no texture.
void drawPanel(const PanelLayout& layout, const GlyphAtlas& atlas, int windowWidth,
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
