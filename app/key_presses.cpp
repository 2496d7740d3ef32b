#include "app/key_presses.h"

namespace {

void countPress(int& count, bool duringStep) {
  count = duringStep ? 1 : count + 1;
}

}  // namespace

void notePress(KeyPresses& presses, SDLKey key, bool duringStep) {
  switch (key) {
    case SDLK_y:
      countPress(presses.split, duringStep);
      return;
    case SDLK_t:
      countPress(presses.refine, duringStep);
      return;
    case SDLK_1:
    case SDLK_2:
    case SDLK_3:
    case SDLK_4:
      presses.renderFlagKey = key;
      return;
    case SDLK_F10:
      presses.reset = true;
      return;
    case SDLK_F11:
      presses.toggleFullScreen = !presses.toggleFullScreen;
      return;
    case SDLK_F1:
      presses.toggleKeys = !presses.toggleKeys;
      return;
    case SDLK_HOME:
      presses.home = true;
      return;
    case SDLK_m:
      presses.toggleMeshView = !presses.toggleMeshView;
      return;
    case SDLK_ESCAPE:
      presses.quit = true;
      return;
    default:
      return;
  }
}

int latchedPresses(bool held, int presses, bool& latch) {
  int actions = presses;
  if (actions == 0 && held && !latch) actions = 1;
  latch = held;
  return actions;
}
