#pragma once
// Drawing over the picture in window pixels: a scope that sets the projection and state for it
// and gives back every state it touches, the raster position the trail copy expects among them.

// For as long as it lives: an orthographic projection of the window's pixels, lower left at
// (0, 0), identity model-view, no lighting, culling, depth test, blending, texture or alpha test,
// filled polygons, pixel rows packed and unpacked byte by byte.
class WindowPixels {
 public:
  WindowPixels(int width, int height);
  ~WindowPixels();
  WindowPixels(const WindowPixels&) = delete;
  WindowPixels& operator=(const WindowPixels&) = delete;
};
