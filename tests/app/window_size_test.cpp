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

TEST(WindowSize, OnlyAResizeToASizeTheWindowNoLongerHasIsStale) {
  struct Case {
    WindowSize asked, window;
    bool stale;
  };
  const WindowSize drawn = {1066, 800};
  const std::vector<Case> cases = {
      {{1024, 768}, {1066, 800}, true},   // the size before, sent after the window grew
      {{800, 600}, {800, 600}, false},    // the user's resize: the window has it already
      {{800, 600}, {640, 480}, false},    // a drag that went on: the event's size, as ever
      {{1024, 768}, {0, 0}, false},       // nothing known of the window
      {{1066, 800}, {1066, 800}, false},  // the drawn size again: the resize as ever
  };
  for (const Case& c : cases) {
    EXPECT_EQ(staleResize(c.asked, drawn, c.window), c.stale)
        << c.asked.width << "x" << c.asked.height << " with the window " << c.window.width << "x"
        << c.window.height;
  }
}

}  // namespace
