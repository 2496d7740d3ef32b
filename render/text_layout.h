#pragma once
// Where text goes over the picture: a dark panel and its lines in window pixels, for the table
// of keys, a step's caption or any few lines in a corner. Pure: the GL is in render/panel.h.

#include <string>
#include <vector>

// The sizes of one font at one pixel size: what the layout needs, no pixels.
struct FontMetrics {
  int pixelSize = 0;      // the nominal size the glyphs were made at
  int ascent = 0;         // pixels from the baseline up to the top of the tallest glyph
  int lineHeight = 0;     // baseline to baseline
  int advance[128] = {};  // pen advance of each ASCII character; others draw as '?'
};

// Printable ASCII only: the glyph atlas holds nothing else.
inline bool hasGlyph(char c) {
  return c >= 32 && c < 127;
}

int textWidth(const std::string& text, const FontMetrics& font);

// The text's pixel size for a window this tall: about 2 % of its height, at least 13.
int textPixelSize(int windowHeight);

struct TextColour {
  float red = 1.0f;
  float green = 1.0f;
  float blue = 1.0f;
};

struct TextRun {
  int x;         // window pixels from the lower left, as GL counts them
  int baseline;  // the line's baseline, from the bottom
  std::string text;
  TextColour colour;
};

inline bool operator==(const TextColour& a, const TextColour& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

inline bool operator==(const TextRun& a, const TextRun& b) {
  return a.x == b.x && a.baseline == b.baseline && a.text == b.text && a.colour == b.colour;
}

// A dark translucent rectangle and the text on it. Empty (width 0) draws nothing.
struct PanelLayout {
  int x = 0;  // the lower left corner, window pixels from the lower left
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<TextRun> runs;
};

inline bool operator==(const PanelLayout& a, const PanelLayout& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height && a.runs == b.runs;
}

// One row of the table of keys: the input and what it does.
struct KeyRow {
  const char* input;
  const char* action;
};
using KeyTable = std::vector<KeyRow>;

// The table of keys in the window's middle: a title, the inputs in one column and their
// actions wrapped beside them; in two such columns where one does not fit the window's height.
// Rows that still do not fit are left out, and the title says where to find them.
PanelLayout keysPanel(const KeyTable& keys, int windowWidth, int windowHeight,
                      const FontMetrics& font);

enum class Corner { topLeft, topRight, bottomLeft, bottomRight };

struct PanelLine {
  std::string text;
  TextColour colour;
};

// A few lines in a corner of the window, away from the figure in the middle; a line too long
// for the window is cut. The panel keeps at least `edgeClearance` pixels from the window's
// upper or lower edge, for something drawn in the corner beside it.
PanelLayout cornerPanel(const std::vector<PanelLine>& lines, Corner corner, int windowWidth,
                        int windowHeight, const FontMetrics& font, int edgeClearance = 0);

// Words of `text` in lines of at most `width` pixels; a word longer than that has a line
// of its own.
std::vector<std::string> wrapText(const std::string& text, int width, const FontMetrics& font);
