#pragma once
// The size of the window F11 gives on the screen the program finds, so a big screen gets a
// picture of its own size.

#include <cstdint>

struct WindowSize {
  int32_t width;
  int32_t height;
};

bool operator==(const WindowSize& a, const WindowSize& b);

// F11's window on `screen`: 4:3, about two thirds of the screen's height, never smaller than
// `start` (1024x768) where that fits, never wider than the screen.
WindowSize windowedSize(WindowSize start, WindowSize screen);
