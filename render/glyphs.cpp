#include "render/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

class Font {
 public:
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Font() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

void FontDeleter::operator()(Font* font) const {
  delete font;
}

namespace {

constexpr char firstGlyph = 32;
constexpr char lastGlyph = 126;

// 26.6 fixed point to whole pixels, rounded up so nothing is cut.
int pixelsUp(FT_Pos value) {
  return static_cast<int>((value + 63) >> 6);
}

int powerOfTwoAtLeast(int value) {
  int power = 1;
  while (power < value) power *= 2;
  return power;
}

// Rows of glyphs left to right, a texel apart so linear filtering never mixes two; true when
// they all fit `width`x`height`.
bool packGlyphs(GlyphImage& image, int width, int height) {
  int x = 1;
  int y = 1;
  int rowHeight = 0;
  for (int c = firstGlyph; c <= lastGlyph; ++c) {
    GlyphBox& box = image.boxes[c];
    if (x + box.width + 1 > width) {
      x = 1;
      y += rowHeight + 1;
      rowHeight = 0;
    }
    box.atlasX = x;
    box.atlasY = y;
    x += box.width + 1;
    rowHeight = std::max(rowHeight, box.height);
  }
  return y + rowHeight + 1 <= height;
}

void copyBitmap(const FT_Bitmap& bitmap, const GlyphBox& box, GlyphImage& image) {
  for (int row = 0; row < box.height; ++row) {
    const unsigned char* source = bitmap.buffer + row * bitmap.pitch;
    unsigned char* target = image.alpha.data() + (box.atlasY + row) * image.width + box.atlasX;
    std::copy(source, source + box.width, target);
  }
}

}  // namespace

FontHandle openFont(const std::string& path, std::string& error) {
  FontHandle font(new Font);
  if (FT_Init_FreeType(&font->library) != 0) {
    error = "FreeType does not start";
    return nullptr;
  }
  if (FT_New_Face(font->library, path.c_str(), 0, &font->face) != 0) {
    error = "cannot read a font from " + path;
    return nullptr;
  }
  if (!FT_IS_SCALABLE(font->face)) {
    error = path + " is not a scalable font";
    return nullptr;
  }
  return font;
}

GlyphImage makeGlyphs(Font& font, int pixelSize) {
  GlyphImage image;
  FT_Face face = font.face;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return image;
  image.metrics.pixelSize = pixelSize;
  image.metrics.ascent = pixelsUp(face->size->metrics.ascender);
  image.metrics.lineHeight = pixelsUp(face->size->metrics.height);
  // First the sizes, to pack them; then the pixels, once the atlas has its size.
  for (int c = firstGlyph; c <= lastGlyph; ++c) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    GlyphBox& box = image.boxes[c];
    box.width = static_cast<int>(glyph->bitmap.width);
    box.height = static_cast<int>(glyph->bitmap.rows);
    box.left = glyph->bitmap_left;
    box.top = glyph->bitmap_top;
    image.metrics.advance[c] = static_cast<int>(glyph->advance.x >> 6);
  }
  int width = 128;
  int height = 0;
  for (;; width *= 2) {
    height = 0;
    for (int tall = 16; tall <= width && height == 0; tall *= 2) {
      if (packGlyphs(image, width, tall)) height = tall;
    }
    if (height != 0) break;
  }
  image.width = width;
  image.height = powerOfTwoAtLeast(height);
  image.alpha.assign(static_cast<std::size_t>(image.width) * image.height, 0);
  for (int c = firstGlyph; c <= lastGlyph; ++c) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
    copyBitmap(face->glyph->bitmap, image.boxes[c], image);
  }
  return image;
}
