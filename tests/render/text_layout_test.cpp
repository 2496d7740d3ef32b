#include "render/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every glyph half an em wide, as DejaVu Sans's are on average; its lines 7/6 em apart.
FontMetrics fontAt(int pixelSize) {
  FontMetrics font;
  font.pixelSize = pixelSize;
  font.ascent = pixelSize;
  font.lineHeight = (pixelSize * 7 + 5) / 6;
  for (int c = 32; c < 127; ++c) font.advance[c] = (pixelSize + 1) / 2;
  return font;
}

// The program's table: 640x480 has room for it in two columns, and little more.
const KeyTable keys = {
    {"Up / Down arrow",
     "pitch the view down / up (the turn speeds up while held and slows by "
     "itself when released)"},
    {"Left / Right arrow", "yaw left / right"},
    {"End, keypad 1 or d", "roll one way"},
    {"Page Down, keypad 3 or f", "roll the other way"},
    {"a or keypad +", "thrust forward"},
    {"s or keypad -", "thrust backward"},
    {"keypad * / keypad /", "thrust stronger / weaker (by a factor e per second held)"},
    {"space", "brake (three times as strong as thrust)"},
    {"F10", "stop and reset the thrust (turning continues)"},
    {"Home", "back to the start: the camera where it began, at rest, with the start thrust"},
    {"left mouse button", "steer toward the pointer"},
    {"c", "print the camera position and orientation, every frame while held"},
    {"1", "filled, back faces culled"},
    {"2", "wireframe, back faces culled"},
    {"3", "wireframe, no culling"},
    {"4", "filled, no culling"},
    {"t",
     "one refinement step of the mesh (once per press, however short); prints its "
     "statistics and \"Face count: \"; pressed during a step, it counts once, after it"},
    {"y",
     "split edge 10 of the mesh (once per press); pressed during a step, it counts once, "
     "after it"},
    {"F1", "show or hide this table over the picture; every key still acts while it is shown"},
    {"F11", "switch between full screen and a window of the same size"},
    {"Alt+Tab or the Super key",
     "leave the full-screen window for the desktop and its other "
     "windows; the task bar, Alt+Tab or a click brings it back"},
    {"Escape, closing the window, or Ctrl-C in the terminal",
     "quit, also in the middle of a refinement step"},
};

struct WindowSize {
  int width;
  int height;
};

const std::vector<WindowSize> windowSizes = {{640, 480},   {800, 600},   {1024, 768}, {1600, 1000},
                                             {1920, 1080}, {3840, 2160}, {2560, 600}};

std::string allText(const PanelLayout& panel) {
  std::string text;
  for (const TextRun& run : panel.runs) text += run.text + " ";
  return text;
}

// Every run lies inside the panel, glyphs' heights and all, and the panel inside the window.
void expectInside(const PanelLayout& panel, const WindowSize& window, const FontMetrics& font) {
  EXPECT_GE(panel.x, 0);
  EXPECT_GE(panel.y, 0);
  EXPECT_LE(panel.x + panel.width, window.width);
  EXPECT_LE(panel.y + panel.height, window.height);
  for (const TextRun& run : panel.runs) {
    EXPECT_GE(run.x, panel.x) << run.text;
    EXPECT_LE(run.x + textWidth(run.text, font), panel.x + panel.width) << run.text;
    EXPECT_GE(run.baseline - (font.lineHeight - font.ascent), panel.y) << run.text;
    EXPECT_LE(run.baseline + font.ascent, panel.y + panel.height) << run.text;
  }
}

}  // namespace

TEST(TextPixelSize, AtLeast13AndAbout2PercentOfTheHeight) {
  for (const int height : {200, 480, 600, 768, 1000, 1080, 2160}) {
    SCOPED_TRACE(height);
    const int size = textPixelSize(height);
    EXPECT_GE(size, 13);
    EXPECT_GE(size, height / 50);
    EXPECT_LE(size, std::max(13, height / 45));
  }
}

TEST(WrapText, WordsFillLinesUpToTheWidth) {
  const FontMetrics font = fontAt(22);  // 11 pixels a character
  struct Case {
    std::string text;
    int characters;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"", 10, {}},
      {"one", 10, {"one"}},
      {"one two three", 7, {"one two", "three"}},
      {"one two three", 6, {"one", "two", "three"}},
      {"a  b", 10, {"a b"}},
      {"unbreakable word", 4, {"unbreakable", "word"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wrapText(c.text, c.characters * 11, font), c.lines) << c.text;
  }
}

// At every size the table fits the window and puts each action's first line on its key's line;
// from 800x600 on it shows every key. Where a row is left out, the title says so.
TEST(KeysPanel, EveryKeyInsideTheWindowAtEverySize) {
  for (const WindowSize& window : windowSizes) {
    SCOPED_TRACE(std::to_string(window.width) + "x" + std::to_string(window.height));
    const FontMetrics font = fontAt(textPixelSize(window.height));
    const PanelLayout panel = keysPanel(keys, window.width, window.height, font);
    expectInside(panel, window, font);
    const std::string text = allText(panel);
    int rowsShown = 0;
    for (const KeyRow& row : keys) {
      const std::string firstWords = std::string(row.action).substr(0, 12);
      if (text.find(firstWords) != std::string::npos) ++rowsShown;
    }
    const bool all = rowsShown == static_cast<int>(keys.size());
    if (window.width >= 800) {
      EXPECT_TRUE(all) << rowsShown << " rows";
    }
    EXPECT_EQ(all, text.find("--help") == std::string::npos) << rowsShown << " rows";
    for (std::size_t k = 1; k + 1 < panel.runs.size(); ++k) {
      if (panel.runs[k].text == "t") {
        EXPECT_EQ(panel.runs[k + 1].baseline, panel.runs[k].baseline);
      }
    }
  }
}

// A window too low for the table keeps the rows that fit, whole, and stays inside.
TEST(KeysPanel, RowsThatDoNotFitAreLeftOut) {
  const WindowSize window = {640, 120};
  const FontMetrics font = fontAt(13);
  const PanelLayout panel = keysPanel(keys, window.width, window.height, font);
  expectInside(panel, window, font);
  EXPECT_NE(allText(panel).find("Up /"), std::string::npos);
  EXPECT_EQ(allText(panel).find("Escape"), std::string::npos);
  EXPECT_NE(allText(panel).find("all: geosandbox --help"), std::string::npos);
  EXPECT_EQ(keysPanel(keys, 10, 10, font).width, 0);
}

// A caption stays in its corner, clear of the window's middle third where the figure is, at
// every size; a line too long for the window is cut to it.
TEST(CornerPanel, StaysInItsCornerAwayFromTheMiddle) {
  const std::vector<PanelLine> lines = {{"Face count: 7680", {}},
                                        {"Max/min area ratio=1.630476866738866183", {}},
                                        {"Relative error=0.6304768667388661834", {}},
                                        {"Step time: 0.012 s", {}}};
  for (const WindowSize& window : windowSizes) {
    SCOPED_TRACE(std::to_string(window.width) + "x" + std::to_string(window.height));
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
      const bool clearOfMiddle =
          panel.y + panel.height <= window.height / 3 || panel.y >= window.height * 2 / 3 ||
          panel.x + panel.width <= window.width / 3 || panel.x >= window.width * 2 / 3;
      EXPECT_TRUE(clearOfMiddle);
    }
  }
  const FontMetrics font = fontAt(13);
  const PanelLayout cut =
      cornerPanel({{std::string(200, 'x'), {}}}, Corner::topLeft, 640, 480, font);
  expectInside(cut, {640, 480}, font);
  EXPECT_LT(cut.runs.at(0).text.size(), 200u);
}
