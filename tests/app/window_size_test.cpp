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

TEST(WindowSize, FullScreenFillsAScreenWithoutTheStartMode) {
  const WindowSize screen = {1920, 1080};
  const std::vector<WindowSize> withStart = {{1920, 1080}, {1024, 768}, {800, 600}};
  const std::vector<WindowSize> without = {{1920, 1080}};
  EXPECT_TRUE(fullScreenSize(start, screen, withStart, false, true) == start);
  EXPECT_TRUE(fullScreenSize(start, screen, without, false, true) == screen);
  EXPECT_TRUE(fullScreenSize(start, screen, without, true, true) == start);    // any size
  EXPECT_TRUE(fullScreenSize(start, screen, without, false, false) == start);  // sdl12-compat
  EXPECT_TRUE(fullScreenSize(start, {0, 0}, without, false, true) == start);   // not known
}

}  // namespace
