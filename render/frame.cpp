#include "render/frame.h"

#include <GL/gl.h>

// Until the figure and the trails are drawn, a frame is a clear and a swap.
void renderFrame(const Settings& settings, const FrameState& state,
                 SwapBuffersFunction swapBuffers, std::ostream& out) {
  (void)settings;
  (void)state;
  (void)out;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  swapBuffers();
}
