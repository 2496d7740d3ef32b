#include "app/window_size.h"

#include <algorithm>

bool operator==(const WindowSize& a, const WindowSize& b) {
  return a.width == b.width && a.height == b.height;
}

WindowSize windowedSize(WindowSize start, WindowSize screen) {
  int32_t height = screen.height * 2 / 3;
  if (height < start.height && start.width <= screen.width && start.height <= screen.height) {
    return start;
  }
  height = std::min(height, screen.width * 3 / 4);
  return {height * 4 / 3, height};
}

bool staleResize(WindowSize asked, WindowSize current, WindowSize window) {
  return window == current && !(window == asked);
}

WindowBox filledBox(WindowSize mode, WindowSize screen) {
  if (mode.width <= 0 || mode.height <= 0 || screen.width < mode.width ||
      screen.height < mode.height) {
    return {0, 0, mode};
  }
  // 64 bits: the products of two sides overflow 32 bits from 46341 pixels a side.
  const int64_t wider = int64_t{screen.width} * mode.height - int64_t{screen.height} * mode.width;
  WindowSize size = screen;
  if (wider > 0) {
    size.width = static_cast<int32_t>(int64_t{screen.height} * mode.width / mode.height);
  } else if (wider < 0) {
    size.height = static_cast<int32_t>(int64_t{screen.width} * mode.height / mode.width);
  }
  return {(screen.width - size.width) / 2, (screen.height - size.height) / 2, size};
}
