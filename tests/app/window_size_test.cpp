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

}  // namespace
