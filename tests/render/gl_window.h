#pragma once
// A real window with a GL context for the render tests, set up the way the program
// sets up its own, and a swap that keeps a copy of every image it shows.

#include <cstdint>
#include <vector>

#include "render/settings.h"

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows from the bottom, as GL reads them

  int at(int x, int y, int channel) const { return rgb.at(3 * (width * y + x) + channel); }
};

// Opens the window on first use, or changes its size; sets viewport, projection and
// the fixed GL state. Returns settings matching the window.
Settings useTestWindow(int width, int height);

// For renderFrame: reads the back buffer into lastShownImage(), then swaps.
void swapAndKeepImage();
const Image& lastShownImage();
