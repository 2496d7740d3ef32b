#include "app/main_loop.h"

#include <SDL.h>
#include <unistd.h>

#include <iostream>
#include <utility>

#include "app/camera.h"
#include "app/clock.h"
#include "app/events.h"
#include "app/globals.h"
#include "app/key_presses.h"
#include "app/progress_line.h"
#include "app/run_end.h"
#include "app/signals.h"
#include "app/video.h"
#include "app/window_during_step.h"
#include "render/frame.h"
#include "system/cpu_probe.h"
#include "system/memory_probe.h"

namespace {

CameraInput readInput(const KeyPresses& presses) {
  int x = 0;
  int y = 0;
  uint8_t buttons = SDL_GetMouseState(&x, &y);
  return {keyState, buttons, x, y, presses};
}

// A step reads the window's events as it goes: the presses it sees go to `nextFrame`, and a
// request to quit ends the run from inside the step, which is left as it is. Its check is
// shared among `threads`.
MeshKeys meshKeys(KeyPresses& nextFrame, WindowPresence& presence, const StepThreads& threads) {
  // The room is read once per press, where the press is handled.
  return {[] { splitEdgeIfRoom(mesh, splitKeyEdge, readMemoryRoom("/"), std::cout); },
          [&nextFrame, &presence, threads] {
            ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
            WindowDuringStep window(line, systemTimeSource(), nextFrame, presence);
            refineStep(mesh, refinement, readMemoryRoom("/"), std::cout, std::cin, &window,
                       threads);
          }};
}

// The processors are read once for the run; each further thread gets a crash stack of its own.
StepThreads stepThreads() {
  StepThreads threads;
  threads.count = readUsableProcessors("/");
  threads.setUp = useCrashStack;
  threads.setUpBytes = crashStackBytes;
  return threads;
}

FrameState frameState() {
  return {frameTime, cameraPose, wireframe, cullBackFaces};
}

CameraState cameraGlobals() {
  return {viewer, cameraPose, wireframe, cullBackFaces};
}

}  // namespace

void runMainLoop() {
  KeyPresses presses;
  WindowPresence presence;
  const MeshKeys keys = meshKeys(presses, presence, stepThreads());
  const CameraState camera = cameraGlobals();
  for (;;) {
    if (takeEvents(EventTime::frame, presses, presence)) return;
    if (std::exchange(presses.toggleFullScreen, false)) toggleFullScreen();
    // Hidden, nothing is drawn: the loop sleeps until the next event, which SDL leaves in
    // the queue when given nowhere to put it. The figure goes on from where it was, since
    // the frame time after the rest is clamped.
    if (presence.hidden) {
      SDL_WaitEvent(nullptr);
      continue;
    }
    frameTime = nextFrameTime(clockSeconds(frameClock, systemTimeSource()), lastTime);
    updateCamera(camera, readInput(std::exchange(presses, {})), settings, frameTime, keys,
                 std::cout);
    renderFrame(settings, frameState(), swapVideoBuffers, std::cout);
    noticeLostOutput(std::cout, std::cerr);
  }
}
