#pragma once
// The presses of the keys that act once per press, taken from the key-down events: a tap that
// is over before the next frame reads the held keys still counts.

#include <SDL_keysym.h>

struct KeyPresses {
  int split = 0;                        // y presses
  int refine = 0;                       // t presses
  SDLKey renderFlagKey = SDLK_UNKNOWN;  // the last of 1 to 4 pressed; SDLK_UNKNOWN for none
  bool reset = false;                   // F10 pressed
  bool quit = false;                    // Escape pressed
  bool toggleFullScreen = false;        // F11 pressed an odd number of times
  bool toggleKeys = false;              // F1 pressed an odd number of times
  bool home = false;                    // Home pressed
  bool toggleMeshView = false;          // m pressed an odd number of times
};

// Adds one key-down. During a refinement step t and y count at most once each: the keys act
// after the step, and a user who pressed again while it ran meant the next step, not several.
void notePress(KeyPresses& presses, SDLKey key, bool duringStep);

// How many times a once-per-press key acts this frame: once for every press, or once for a
// key found held that has not acted yet. The latch then follows the held state.
int latchedPresses(bool held, int presses, bool& latch);
