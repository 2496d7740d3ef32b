#pragma once
// The glyphs of printable ASCII made with FreeType from a font file, at one pixel size, packed
// into one alpha image that panels of text are made from. FreeType only: no GL, and the file's
// path is given.

#include <memory>
#include <string>
#include <vector>

#include "render/text_layout.h"

// An open font file; it stays open so the glyphs can be made again at another size.
class Font;
struct FontDeleter {
  void operator()(Font* font) const;
};
using FontHandle = std::unique_ptr<Font, FontDeleter>;

// Null where the file cannot be read as a scalable font; `error` then says why in a few words.
FontHandle openFont(const std::string& path, std::string& error);

// Where one glyph's image lies in the atlas, and where it goes beside the pen.
struct GlyphBox {
  int atlasX = 0;  // the image's top left texel
  int atlasY = 0;
  int width = 0;  // 0 for a glyph without pixels (the blank)
  int height = 0;
  int left = 0;  // from the pen to the image's left edge
  int top = 0;   // from the baseline up to the image's top row
};

struct GlyphImage {
  FontMetrics metrics;
  int width = 0;  // 0 when there are no glyphs
  int height = 0;
  std::vector<unsigned char> alpha;  // width x height coverage values, row 0 the top of glyphs
  GlyphBox boxes[128] = {};          // by ASCII code; only the printable ones are filled
};

// The glyphs at `pixelSize` pixels to the em; empty (width 0) where FreeType refuses the size.
GlyphImage makeGlyphs(Font& font, int pixelSize);
