#pragma once
// Keeping the shown image for the next trail frame. Where the front buffer can be read
// back after a swap it is copied into the back buffer; where it cannot (it comes back
// stale on some software renderers and composited desktops) the back buffer is saved
// in a texture before the swap and drawn again at the start of the next frame.

// How render/ shows a finished frame without knowing the window system: the shell
// passes a function that swaps the buffers of its window.
using SwapBuffersFunction = void (*)();

enum class TrailCopy {
  undecided,    // the first trail frame finds out which copy works
  frontBuffer,  // glCopyPixels from the front buffer after the swap
  texture,      // glCopyTexSubImage2D from the back buffer before the swap
};

struct TrailImage {
  TrailCopy copy = TrailCopy::undecided;
  unsigned int texture = 0;  // texture path only; 0 until made
  int textureWidth = 0;      // powers of two at least the window size
  int textureHeight = 0;
  int imageWidth = 0;  // size of the image kept for the next frame; 0 when none
  int imageHeight = 0;
};

extern TrailImage trailImage;  // the program's one trail image

// Draws two known colours, swaps after each and reads the front buffer back.
TrailCopy probeFrontBuffer(SwapBuffersFunction swapBuffers);

// On the texture path, a texture that went with a lost context is forgotten (set to 0), so
// what follows in the frame reads `texture != 0` and the copy makes it again. It asks GL:
// a trail frame calls it once, at its start.
void forgetLostTexture(TrailImage& image);

// True when the image kept from the last frame will cover every pixel of this one:
// false on the first trail frame, after a resize, and when the texture was lost.
bool trailImageCovers(const TrailImage& image, int width, int height);

// Start of a trail frame, before the fade, and only where trailImageCovers: puts the kept
// image into the back buffer (the front buffer copy has put it there already). Expects
// lighting, culling, depth test and blending off and filled polygons.
void restoreTrailImage(const TrailImage& image);

// Around the swap: keeps the image being shown for restoreTrailImage.
void keepTrailImageBeforeSwap(TrailImage& image, int width, int height);
void keepTrailImageAfterSwap(TrailImage& image, int width, int height);

// Frees the texture; the image starts over as undecided.
void releaseTrailImage(TrailImage& image);
