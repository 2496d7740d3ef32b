#include "app/window_size.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr WindowSize start = {1024, 768};

TEST(WindowSize, FElevenWindowFollowsTheScreen) {
  // screen, F11's window
  const std::vector<std::pair<WindowSize, WindowSize>> cases = {
      {{1024, 768}, {1024, 768}},    // the start size fits: never smaller
      {{1920, 1080}, {1024, 768}},   // two thirds (960x720) is smaller than the start size
      {{2560, 1440}, {1280, 960}},   // two thirds of the height, 4:3
      {{3840, 2160}, {1920, 1440}},  //
      {{1080, 1920}, {1080, 810}},   // a portrait screen: no wider than it
      {{800, 600}, {533, 400}},      // the start size does not fit: two thirds
  };
  for (const auto& [screen, window] : cases) {
    const WindowSize got = windowedSize(start, screen);
    EXPECT_TRUE(got == window) << screen.width << "x" << screen.height << ": " << got.width << "x"
                               << got.height;
  }
}

TEST(WindowSize, FullScreenPictureFillsTheScreenAtItsOwnShape) {
  struct Case {
    WindowSize screen;
    WindowBox box;
  };
  const std::vector<Case> cases = {
      {{1024, 768}, {0, 0, {1024, 768}}},      // the mode was switched: nothing moves
      {{1600, 1200}, {0, 0, {1600, 1200}}},    // 4:3 too: the whole screen
      {{1920, 1080}, {240, 0, {1440, 1080}}},  // wider: bars beside
      {{1280, 1024}, {0, 32, {1280, 960}}},    // taller: bars above and below
      {{1920, 1081}, {239, 0, {1441, 1081}}},  // sides rounded down, still centred
      {{800, 600}, {0, 0, {1024, 768}}},       // smaller than the mode: left as SDL has it
      {{1920, 700}, {0, 0, {1024, 768}}},      // not as high as the mode
  };
  for (const Case& c : cases) {
    const WindowBox got = filledBox(start, c.screen);
    EXPECT_TRUE(got.left == c.box.left && got.top == c.box.top && got.size == c.box.size)
        << c.screen.width << "x" << c.screen.height << ": " << got.size.width << "x"
        << got.size.height << "+" << got.left << "+" << got.top;
  }
}

}  // namespace
