#pragma once
// One frame: trail fade or clear, render modes, light, viewer matrix, the figure,
// the swap and the trail copy. The swap comes from the shell, so render/ needs no SDL.

#include <ostream>

#include "geom/pose.h"
#include "render/settings.h"

struct FrameState {
  double frameTime;  // seconds, at most 0.1
  Pose cameraPose;
  bool wireframe;
  bool cullBackFaces;
};

using SwapBuffersFunction = void (*)();

void renderFrame(const Settings& settings, const FrameState& state,
                 SwapBuffersFunction swapBuffers, std::ostream& out);
