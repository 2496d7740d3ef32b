#include "app/main_loop.h"

#include <SDL.h>
#include <unistd.h>

#include <iostream>
#include <utility>

#include "app/camera.h"
#include "app/clock.h"
#include "app/desktop_window.h"
#include "app/events.h"
#include "app/globals.h"
#include "app/key_presses.h"
#include "app/progress_line.h"
#include "app/run_end.h"
#include "app/video.h"
#include "app/window_during_step.h"
#include "app/xlib.h"
#include "render/frame.h"
#include "system/memory_probe.h"

namespace {

CameraInput readInput(const KeyPresses& presses) {
  int x = 0;
  int y = 0;
  uint8_t buttons = SDL_GetMouseState(&x, &y);
  return {keyState, buttons, x, y, presses};
}

// A step reads the window's events as it goes: the presses it sees go to `nextFrame`, and a
// request to quit ends the run from inside the step, which is left as it is.
MeshKeys meshKeys(KeyPresses& nextFrame, WindowPresence& presence) {
  // The room is read once per press, where the press is handled.
  return {[] { splitEdgeIfRoom(mesh, splitKeyEdge, readMemoryRoom("/"), std::cout); },
          [&nextFrame, &presence] {
            ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
            WindowDuringStep window(line, systemTimeSource(), nextFrame, presence);
            refineStep(mesh, refinement, readMemoryRoom("/"), std::cout, std::cin, &window);
          }};
}

FrameState frameState() {
  return {frameTime, cameraPose, wireframe, cullBackFaces};
}

CameraState cameraGlobals() {
  return {viewer, cameraPose, wireframe, cullBackFaces};
}

// At most this often, and at each wake of a rest, the window manager's word on the window is
// read: a round trip to the X server, which also finds a window destroyed by another program.
constexpr uint32_t desktopReadMilliseconds = 250;

bool resting(WindowPresence& presence) {
  const uint32_t now = SDL_GetTicks();
  const bool due = presence.hidden || presence.minimised ||
                   now - presence.minimisedRead >= desktopReadMilliseconds;
  if (!due) return false;
  presence.minimisedRead = now;
  presence.minimised = desktopHidesWindow();
  endOnPendingXError();
  return presence.hidden || presence.minimised;
}

}  // namespace

void runMainLoop() {
  KeyPresses presses;
  WindowPresence presence;
  const MeshKeys keys = meshKeys(presses, presence);
  const CameraState camera = cameraGlobals();
  for (;;) {
    if (takeEvents(EventTime::frame, presses, presence)) return;
    if (std::exchange(presses.toggleFullScreen, false)) toggleFullScreen();
    // Hidden, nothing is drawn: the loop sleeps until the X server sends something (an
    // event, the window's state changed) or the next read of the desktop's word is due. The
    // figure goes on from where it was, since the frame time after the rest is clamped.
    if (resting(presence)) {
      waitForDesktop(desktopReadMilliseconds);
      continue;
    }
    frameTime = nextFrameTime(clockSeconds(frameClock, systemTimeSource()), lastTime);
    updateCamera(camera, readInput(std::exchange(presses, {})), settings, frameTime, keys,
                 std::cout);
    renderFrame(settings, frameState(), swapVideoBuffers, std::cout);
    noticeLostOutput(std::cout, std::cerr);
  }
}
