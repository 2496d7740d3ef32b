#include "app/step_watch.h"

#include <SDL.h>

#include <utility>

namespace {

// A resize waits in the queue for the loop, which re-creates the video mode. Everything
// else is taken now: the queue holds few events, and a long step's pointer motion would
// fill it and push out a later key press.
constexpr Uint32 takenDuringStep = SDL_ALLEVENTS & ~SDL_EVENTMASK(SDL_VIDEORESIZE);

// True when the run must end: the loop's own rule (a quit event, Escape pressed or held
// while an event is handled), with the presses noted for after the step.
bool takeWaitingEvents(KeyPresses& nextFrame) {
  SDL_PumpEvents();
  SDL_Event event;
  bool anyEvent = false;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, takenDuringStep) > 0) {
    anyEvent = true;
    if (event.type == SDL_QUIT) return true;
    if (event.type == SDL_KEYDOWN) notePress(nextFrame, event.key.keysym.sym, true);
  }
  if (nextFrame.quit) return true;
  return anyEvent && SDL_GetKeyState(nullptr)[SDLK_ESCAPE] != 0;
}

}  // namespace

StepWatch::StepWatch(StepProgress& shown, KeyPresses& nextFrame, std::function<void()> quit)
    : shown_(shown), nextFrame_(nextFrame), quit_(std::move(quit)) {}

void StepWatch::reached(const char* pass, std::size_t done, std::size_t due) {
  shown_.reached(pass, done, due);
  if (!takeWaitingEvents(nextFrame_)) return;
  shown_.finished();
  quit_();
}

void StepWatch::finished() {
  shown_.finished();
}
