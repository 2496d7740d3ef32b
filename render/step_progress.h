#pragma once
// How far a long refinement step is, shown in the window over its frozen picture: a thin bar
// along the bottom edge, one segment per pass, drawn only while the step runs.

#include <vector>

#include "render/settings.h"
#include "render/trails.h"

struct BarRectangle {
  int x;  // window pixels from the lower left, as GL counts them
  int y;
  int width;
  int height;
  bool done;  // the part of a pass done; otherwise the pass's dark slot
};

// The bar for pass `pass` (0-based, of `passCount`) with `fractionDone` of it done: each pass
// a slot of its own with a gap after it, the passes before `pass` filled, this one in part.
std::vector<BarRectangle> progressBar(int windowWidth, int windowHeight, int passCount, int pass,
                                      double fractionDone);

// What showing the bar changes, kept from the step's first show to its end.
struct StepProgressPicture {
  std::vector<unsigned char> coveredRows;  // the picture under the bar, on the front-buffer path
  bool shown = false;
};

// Shows the frozen picture with `bar` over it. Draws nothing where the trails keep no picture
// of this size (the picture under the bar could not be given back).
void showStepProgress(const Settings& settings, TrailImage& image,
                      const std::vector<BarRectangle>& bar, StepProgressPicture& picture,
                      SwapBuffersFunction swapBuffers);

// After the step, before the next frame: the back buffer holds the picture without the bar
// again, as a trail frame expects, so the bar leaves no trail.
void endStepProgress(const Settings& settings, const TrailImage& image,
                     StepProgressPicture& picture);
