#include "app/main_loop.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <utility>

#include "app/camera.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/key_presses.h"
#include "app/progress_line.h"
#include "app/shutdown.h"
#include "app/step_watch.h"
#include "app/video.h"
#include "render/frame.h"
#include "system/memory_probe.h"

namespace {

// True when the loop must end: a quit event, or Escape pressed, or held while an event is
// handled. The key-down events are noted in `presses`: by the time the input step reads the
// held keys, a short tap has been released again.
bool drainEvents(KeyPresses& presses) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) return true;
    if (event.type == SDL_VIDEORESIZE) resizeVideo(event.resize.w, event.resize.h);
    if (event.type == SDL_KEYDOWN) notePress(presses, event.key.keysym.sym, false);
    keyState = SDL_GetKeyState(nullptr);
    if (keyState[SDLK_ESCAPE] || presses.quit) return true;
  }
  return false;
}

CameraInput readInput(const KeyPresses& presses) {
  int x = 0;
  int y = 0;
  uint8_t buttons = SDL_GetMouseState(&x, &y);
  return {keyState, buttons, x, y, presses};
}

// A step reads the window's events as it goes: the presses it sees go to `nextFrame`, and a
// request to quit ends the run from inside the step, which is left as it is.
MeshKeys meshKeys(KeyPresses& nextFrame, OutputWatch& output) {
  // The room is read once per press, where the press is handled.
  return {[] { splitEdgeIfRoom(mesh, splitKeyEdge, readMemoryRoom("/"), std::cout); },
          [&nextFrame, &output] {
            ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
            StepWatch watch(line, nextFrame, [&output] { std::exit(shutDown(output)); });
            refineStep(mesh, refinement, readMemoryRoom("/"), std::cout, std::cin, &watch);
          }};
}

void swapBuffers() {
  SDL_GL_SwapBuffers();
}

FrameState frameState() {
  return {frameTime, cameraPose, wireframe, cullBackFaces};
}

CameraState cameraGlobals() {
  return {viewer, cameraPose, wireframe, cullBackFaces};
}

}  // namespace

void runMainLoop(OutputWatch& output) {
  KeyPresses presses;
  const MeshKeys keys = meshKeys(presses, output);
  const CameraState camera = cameraGlobals();
  for (;;) {
    if (drainEvents(presses)) return;
    frameTime = nextFrameTime(clockSeconds(frameClock, systemTimeSource()), lastTime);
    updateCamera(camera, readInput(std::exchange(presses, {})), settings, frameTime, keys,
                 std::cout);
    renderFrame(settings, frameState(), swapBuffers, std::cout);
    noticeLostOutput(output, std::cout, std::cerr);
  }
}
