#include "app/main_loop.h"

#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <utility>

#include "app/camera.h"
#include "app/clock.h"
#include "app/desktop_window.h"
#include "app/events.h"
#include "app/globals.h"
#include "app/key_presses.h"
#include "app/mesh_picture.h"
#include "app/mesh_view.h"
#include "app/progress_line.h"
#include "app/run_end.h"
#include "app/signals.h"
#include "app/video.h"
#include "app/window_during_step.h"
#include "app/window_text.h"
#include "app/xlib.h"
#include "render/frame.h"
#include "render/mesh_view.h"
#include "system/cpu_probe.h"
#include "system/memory_probe.h"

namespace {

// Seconds on a steady clock, for the steps' times and how long their captions stay.
double captionClock() {
  using Seconds = std::chrono::duration<double>;
  return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

CameraInput readInput(const KeyPresses& presses) {
  int x = 0;
  int y = 0;
  uint8_t buttons = SDL_GetMouseState(&x, &y);
  pointerInFilledWindow(x, y);
  return {keyState, buttons, x, y, presses};
}

// A step reads the window's events as it goes: the presses it sees go to `nextFrame`, and a
// request to quit ends the run from inside the step, which is left as it is. Its check is
// shared among `threads`. What the step printed goes into `caption` too, with the step's time.
// The mesh view's picture goes before the room is read, and is made again for the new mesh.
MeshKeys meshKeys(KeyPresses& nextFrame, WindowPresence& presence, StepCaption& caption,
                  const StepThreads& threads, MeshView& view) {
  // The room is read once per press, where the press is handled.
  return {[&caption, &view] {
            forgetMeshPicture(view);
            const double start = captionClock();
            const bool split = splitEdgeIfRoom(mesh, splitKeyEdge, readMemoryRoom("/"), std::cout);
            const double end = captionClock();
            caption = {splitCaption(split, mesh.faces.size(), end - start), end};
          },
          [&nextFrame, &presence, &caption, threads, &view] {
            forgetMeshPicture(view);
            ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, systemTimeSource());
            WindowDuringStep window(line, systemTimeSource(), nextFrame, presence);
            const double start = captionClock();
            const std::optional<StepFigures> figures = refineStep(
                mesh, refinement, readMemoryRoom("/"), std::cout, std::cin, &window, threads);
            const double end = captionClock();
            caption = {refinementCaption(figures, end - start, std::cout.precision()), end};
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
  mendLostActivation();
  endOnPendingXError();
  return presence.hidden || presence.minimised;
}

}  // namespace

void runMainLoop() {
  KeyPresses presses;
  WindowPresence presence;
  WindowText text;
  openWindowFont(text, windowFontPath(std::getenv), std::cerr);
  MeshView view;
  const MeshKeys keys = meshKeys(presses, presence, text.caption, stepThreads(), view);
  const CameraState camera = cameraGlobals();
  for (;;) {
    if (takeEvents(EventTime::frame, presses, presence)) return;
    if (std::exchange(presses.toggleFullScreen, false)) toggleFullScreen();
    if (std::exchange(presses.toggleKeys, false)) text.keysShown = !text.keysShown;
    // Hidden, nothing is drawn: the loop sleeps until the X server sends something (an
    // event, the window's state changed) or the next read of the desktop's word is due. The
    // figure goes on from where it was, since the frame time after the rest is clamped.
    if (resting(presence)) {
      waitForDesktop(desktopReadMilliseconds);
      continue;
    }
    keepFullScreenFilled();
    frameTime = nextFrameTime(clockSeconds(frameClock, systemTimeSource()), lastTime);
    const bool toggleView = std::exchange(presses.toggleMeshView, false);
    updateCamera(camera, readInput(std::exchange(presses, {})), settings, frameTime, keys,
                 std::cout);
    showMeshView(view, toggleView, presses, presence);
    // The legend's words are in the window for as long as the view is.
    text.corners.clear();
    if (view.shown) {
      text.corners.push_back(legendCorner(meshLegend(view.picture, settings.windowWidth)));
    }
    const std::vector<PanelLayout> panels = framePanels(text, programKeys(), settings.windowWidth,
                                                        settings.windowHeight, captionClock());
    // The view changes which frame is drawn, never what the figure's frame does.
    if (view.shown) {
      renderMeshFrame(settings, frameState(), view.picture, trailImage, swapVideoBuffers, panels,
                      &text.atlas);
    } else {
      renderFrame(settings, frameState(), trailImage, swapVideoBuffers, std::cout, panels,
                  text.atlas);
    }
    noticeLostOutput(std::cout, std::cerr);
  }
}
