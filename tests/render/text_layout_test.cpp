#include "render/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

#include "app/key_rows.inc"  // the program's table of keys, from the README

// Every glyph half an em wide, as DejaVu Sans's are on average; its lines 7/6 em apart.
FontMetrics fontAt(int pixelSize) {
  FontMetrics font{pixelSize, pixelSize, (pixelSize * 7 + 5) / 6, {}};
  for (int c = 32; c < 127; ++c) font.advance[c] = (pixelSize + 1) / 2;
  return font;
}

struct WindowSize {
  int width;
  int height;
};
const std::vector<WindowSize> windowSizes = {{640, 480},   {800, 600},   {1024, 768},
                                             {1600, 1000}, {3840, 2160}, {2560, 600}};

std::string allText(const PanelLayout& panel) {
  std::string text;
  for (const TextRun& run : panel.runs) text += run.text + " ";
  return text;
}

// Every run lies inside the panel, glyphs' heights and all, and the panel inside the window.
void expectInside(const PanelLayout& panel, const WindowSize& window, const FontMetrics& font) {
  EXPECT_TRUE(panel.x >= 0 && panel.y >= 0 && panel.x + panel.width <= window.width &&
              panel.y + panel.height <= window.height);
  for (const TextRun& run : panel.runs) {
    EXPECT_TRUE(run.x >= panel.x && run.x + textWidth(run.text, font) <= panel.x + panel.width &&
                run.baseline - (font.lineHeight - font.ascent) >= panel.y &&
                run.baseline + font.ascent <= panel.y + panel.height)
        << run.text;
  }
}

}  // namespace

TEST(TextLayout, TextAtLeast13PixelsAndAbout2PercentOfTheHeightWrappedByWords) {
  for (const int height : {200, 480, 768, 1000, 2160}) {
    const int size = textPixelSize(height);
    EXPECT_TRUE(size >= 13 && size >= height / 50 && size <= std::max(13, height / 45)) << height;
  }
  const FontMetrics font = fontAt(22);  // 11 pixels a character
  EXPECT_EQ(wrapText("one two three", 7 * 11, font),
            std::vector<std::string>({"one two", "three"}));
  EXPECT_EQ(wrapText("a  b", 10 * 11, font), std::vector<std::string>({"a b"}));
  EXPECT_EQ(wrapText("unbreakable word", 4 * 11, font),
            std::vector<std::string>({"unbreakable", "word"}));
}

// At every size the program's table fits the window, each action's first line on its key's
// line; from 800x600 on all of it (in two columns where one is too tall). At 640x480 it has
// little room to spare: where rows are left out, the title says where they are.
TEST(KeysPanel, EveryKeyInsideTheWindowAtEverySize) {
  for (const WindowSize& window : windowSizes) {
    SCOPED_TRACE(std::to_string(window.width) + "x" + std::to_string(window.height));
    const FontMetrics font = fontAt(textPixelSize(window.height));
    const PanelLayout panel = keysPanel(keyTableRows, window.width, window.height, font);
    expectInside(panel, window, font);
    const std::string text = allText(panel);
    std::size_t rowsShown = 0;
    for (const KeyRow& row : keyTableRows) {
      if (text.find(std::string(row.action).substr(0, 12)) != std::string::npos) ++rowsShown;
    }
    const bool all = rowsShown == keyTableRows.size();
    EXPECT_TRUE(all || window.width < 800) << rowsShown << " rows";
    EXPECT_EQ(all, text.find("--help") == std::string::npos) << rowsShown << " rows";
    for (std::size_t k = 1; k + 1 < panel.runs.size(); ++k) {
      if (panel.runs[k].text == "t") {
        EXPECT_EQ(panel.runs[k + 1].baseline, panel.runs[k].baseline);
      }
    }
  }
}

// A window too low for the table keeps the rows that fit, whole, and says where the rest are.
TEST(KeysPanel, RowsThatDoNotFitAreLeftOut) {
  const FontMetrics font = fontAt(13);
  const PanelLayout panel = keysPanel(keyTableRows, 640, 120, font);
  expectInside(panel, {640, 120}, font);
  EXPECT_NE(allText(panel).find("Up /"), std::string::npos);
  EXPECT_EQ(allText(panel).find("Escape"), std::string::npos);
  EXPECT_NE(allText(panel).find("all: geosandbox --help"), std::string::npos);
  EXPECT_EQ(keysPanel(keyTableRows, 10, 10, font).width, 0);
}

// A caption stays in its corner, clear of the window's middle third where the figure is, at
// every size; a line too long for the window is cut to it.
TEST(CornerPanel, StaysInItsCornerAwayFromTheMiddle) {
  const std::vector<PanelLine> lines = {{"Face count: 7680", {}},
                                        {"Max/min area ratio=1.630476866738866183", {}},
                                        {"Relative error=0.6304768667388661834", {}}};
  for (const WindowSize& window : windowSizes) {
    const FontMetrics font = fontAt(textPixelSize(window.height));
    for (const Corner corner :
         {Corner::topLeft, Corner::topRight, Corner::bottomLeft, Corner::bottomRight}) {
      const PanelLayout panel = cornerPanel(lines, corner, window.width, window.height, font);
      expectInside(panel, window, font);
      ASSERT_EQ(panel.runs.size(), lines.size());
      EXPECT_EQ(panel.runs[0].text, "Face count: 7680");
      const bool left = corner == Corner::topLeft || corner == Corner::bottomLeft;
      const bool top = corner == Corner::topLeft || corner == Corner::topRight;
      EXPECT_EQ(left, panel.x < window.width - panel.x - panel.width);
      EXPECT_EQ(top, panel.y > window.height - panel.y - panel.height);
      EXPECT_TRUE(panel.y + panel.height <= window.height / 3 || panel.y >= window.height * 2 / 3)
          << window.width << "x" << window.height;
    }
  }
  const FontMetrics font = fontAt(13);
  const PanelLayout cut =
      cornerPanel({{std::string(200, 'x'), {}}}, Corner::topLeft, 640, 480, font);
  expectInside(cut, {640, 480}, font);
  EXPECT_LT(cut.runs.at(0).text.size(), 200u);
}
