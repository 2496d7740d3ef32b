#include "app/main_loop.h"

#include <SDL.h>
#include <unistd.h>

#include <iostream>

#include "app/camera.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/progress_line.h"
#include "app/video.h"
#include "render/frame.h"
#include "system/memory_probe.h"

namespace {

// True when the loop must end. Escape is only seen while an event is handled; the
// key press is itself such an event.
bool drainEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) return true;
    if (event.type == SDL_VIDEORESIZE) resizeVideo(event.resize.w, event.resize.h);
    keyState = SDL_GetKeyState(nullptr);
    if (keyState[SDLK_ESCAPE]) return true;
  }
  return false;
}

CameraInput readInput() {
  int x = 0;
  int y = 0;
  uint8_t buttons = SDL_GetMouseState(&x, &y);
  return {keyState, buttons, x, y};
}

MeshKeys meshKeys() {
  // The room is read once per press, where the press is handled.
  return {[] { splitEdgeIfRoom(mesh, splitKeyEdge, readMemoryRoom("/"), std::cout); },
          [] {
            ProgressLine progress(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
            refineStep(mesh, refinement, readMemoryRoom("/"), std::cout, std::cin, &progress);
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

void runMainLoop() {
  const MeshKeys keys = meshKeys();
  const CameraState camera = cameraGlobals();
  for (;;) {
    if (drainEvents()) return;
    frameTime = nextFrameTime(clockSeconds(frameClock, systemTimeSource()), lastTime);
    updateCamera(camera, readInput(), settings, frameTime, keys, std::cout);
    renderFrame(settings, frameState(), swapBuffers, std::cout);
  }
}
