#include "app/main_loop.h"

#include <SDL.h>
#include <unistd.h>

#include <iostream>
#include <iterator>
#include <utility>

#include "app/camera.h"
#include "app/clock.h"
#include "app/events.h"
#include "app/globals.h"
#include "app/key_presses.h"
#include "app/mesh_picture.h"
#include "app/mesh_view.h"
#include "app/progress_line.h"
#include "app/run_end.h"
#include "app/video.h"
#include "app/window_during_step.h"
#include "render/frame.h"
#include "render/mesh_view.h"
#include "system/memory_probe.h"

namespace {

CameraInput readInput(const KeyPresses& presses) {
  int x = 0;
  int y = 0;
  uint8_t buttons = SDL_GetMouseState(&x, &y);
  return {keyState, buttons, x, y, presses};
}

// A step reads the window's events as it goes: the presses it sees go to `nextFrame`, and a
// request to quit ends the run from inside the step, which is left as it is. The mesh view's
// picture goes before the room is read, and is made again for the new mesh.
MeshKeys meshKeys(KeyPresses& nextFrame, WindowPresence& presence, MeshView& view) {
  // The room is read once per press, where the press is handled.
  return {[&view] {
            forgetMeshPicture(view);
            splitEdgeIfRoom(mesh, splitKeyEdge, readMemoryRoom("/"), std::cout);
          },
          [&nextFrame, &presence, &view] {
            forgetMeshPicture(view);
            ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
            WindowDuringStep window(line, systemTimeSource(), nextFrame, presence);
            refineStep(mesh, refinement, readMemoryRoom("/"), std::cout, std::cin, &window);
          }};
}

// The picture of a large mesh takes seconds: it shows the bar and takes the events as a step.
void showMeshView(MeshView& view, bool toggled, KeyPresses& nextFrame, WindowPresence& presence) {
  if (!toggled && !meshViewStale(view)) return;
  ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
  WindowDuringStep window(line, systemTimeSource(), nextFrame, presence,
                          {meshPicturePasses, static_cast<int>(std::size(meshPicturePasses))});
  updateMeshView(view, toggled, mesh, readMemoryRoom("/"), &window, std::cerr);
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
  MeshView view;
  const MeshKeys keys = meshKeys(presses, presence, view);
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
    const bool toggleView = std::exchange(presses.toggleMeshView, false);
    updateCamera(camera, readInput(std::exchange(presses, {})), settings, frameTime, keys,
                 std::cout);
    showMeshView(view, toggleView, presses, presence);
    // The view changes which frame is drawn, never what the figure's frame does.
    if (view.shown) {
      renderMeshFrame(settings, frameState(), view.picture, trailImage, swapVideoBuffers);
    } else {
      renderFrame(settings, frameState(), swapVideoBuffers, std::cout);
    }
    noticeLostOutput(std::cout, std::cerr);
  }
}
