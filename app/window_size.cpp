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

bool staleResize(WindowSize asked, WindowSize drawn, WindowSize window) {
  return window == drawn && !(window == asked);
}
