#include "app/window_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

FontMetrics fontAt(int pixelSize) {
  FontMetrics font{pixelSize, pixelSize, pixelSize + 3, {}};
  for (int c = 32; c < 127; ++c) font.advance[c] = pixelSize / 2;
  return font;
}

}  // namespace

TEST(StepCaption, ShownForFiveSecondsAfterTheStep) {
  const StepCaption caption = {{"Face count: 60"}, 100.0};
  EXPECT_TRUE(captionShown(caption, 100.0) && captionShown(caption, 104.99));
  EXPECT_FALSE(captionShown(caption, 105.0) || captionShown(StepCaption{{}, 100.0}, 100.0));
}

// The caption's figures are standard output's, digit for digit at its precision; a refused
// step shows its line; both end with the step's time.
TEST(StepCaption, SaysWhatStandardOutputGot) {
  const StepFigures figures = {{0.0123456789012345678, 0.0234567890123456789}, 7680};
  for (const int precision : {6, 19}) {
    std::ostringstream printed;
    printed.precision(precision);
    printAreaRange(figures.areas, printed);
    std::istringstream lines(printed.str());
    std::string ratio;
    std::string error;
    std::getline(std::getline(lines, ratio), error);
    EXPECT_EQ(refinementCaption(figures, 0.0125, precision),
              std::vector<std::string>({"Face count: 7680", ratio, error, "Step time: 0.013 s"}));
  }
  const std::vector<std::string> refused = {"Not enough memory for the next refinement step",
                                            "Step time: 2.500 s"};
  EXPECT_EQ(refinementCaption(std::nullopt, 2.5, 19), refused);
  EXPECT_EQ(splitCaption(false, 20, 2.5), refused);
  EXPECT_EQ(splitCaption(true, 22, 0.0),
            std::vector<std::string>({"Edge 10 split. Face count: 22", "Step time: 0.000 s"}));
}

// The caption in the top left corner while it lasts, a view's corner text in its corner, the
// keys over everything while shown.
TEST(WindowPanels, CaptionInItsCornerAndTheKeysOnTop) {
  const FontMetrics font = fontAt(15);
  const KeyTable keys = {{"F1", "show or hide this table"}, {"Escape", "quit"}};
  const StepCaption caption = {{"Face count: 60", "Step time: 0.001 s"}, 10.0};
  const std::vector<CornerText> legend = {
      {Corner::bottomRight, {{"red: largest area", {1, 0, 0}}}}};
  EXPECT_TRUE(windowPanels(false, caption, {}, keys, 1024, 768, 15.0, font).empty());
  const std::vector<PanelLayout> all =
      windowPanels(true, caption, legend, keys, 1024, 768, 11.0, font);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].runs.at(0).text, "Face count: 60");
  EXPECT_LT(all[0].x, 1024 / 4);
  EXPECT_GT(all[0].y, 768 / 2);
  EXPECT_EQ(all[1].runs.at(0).text, "red: largest area");
  EXPECT_EQ(all[1].runs.at(0).colour.green, 0.0f);
  EXPECT_GT(all[1].x, 1024 / 2);
  EXPECT_LT(all[1].y, 768 / 4);
  EXPECT_EQ(all[2].runs.at(1).text, "F1");
  const std::vector<PanelLayout> keysOnly =
      windowPanels(true, caption, {}, keys, 1024, 768, 15.0, font);
  ASSERT_EQ(keysOnly.size(), 1u);
  EXPECT_EQ(keysOnly[0].runs.at(1).text, "F1");
}
