#include "app/events.h"

#include "app/desktop_window.h"
#include "app/globals.h"
#include "app/video.h"
#include "app/video_environment.h"
#include "app/window_size.h"
#include "app/xlib.h"

namespace {

// During a step a resize waits in the queue for the loop, which re-creates the video mode.
// Everything else is taken: the queue holds few events, and a long step's pointer motion
// would fill it and push out a later key press.
constexpr Uint32 takenDuringStep = SDL_ALLEVENTS & ~SDL_EVENTMASK(SDL_VIDEORESIZE);

bool nextEvent(EventTime when, SDL_Event& event) {
  if (when == EventTime::frame) return SDL_PollEvent(&event) == 1;
  return SDL_PeepEvents(&event, 1, SDL_GETEVENT, takenDuringStep) > 0;
}

bool switchesAway(const SDL_keysym& key) {
  if (key.sym == SDLK_TAB) return (key.mod & KMOD_ALT) != 0;
  return key.sym == SDLK_LSUPER || key.sym == SDLK_RSUPER;
}

bool windowHoldsKeyboard() {
  return videoSurface != nullptr && (videoSurface->flags & SDL_FULLSCREEN) != 0 &&
         isClassicSdl(*SDL_Linked_Version());
}

}  // namespace

EventRequest requestOf(const SDL_Event& event, EventTime when, bool holdsKeyboard,
                       KeyPresses& presses) {
  switch (event.type) {
    case SDL_QUIT:
      return EventRequest::endRun;
    case SDL_VIDEORESIZE:
      return EventRequest::resize;
    case SDL_ACTIVEEVENT:
      // Losing only the keyboard's or the pointer's focus leaves the window in view. After
      // the program's own leaving, some window managers (mutter) report no more than the
      // keyboard focus, lost and then gained back.
      if (event.active.gain == 0) {
        return (event.active.state & SDL_APPACTIVE) ? EventRequest::hide : EventRequest::none;
      }
      return (event.active.state & (SDL_APPACTIVE | SDL_APPINPUTFOCUS)) ? EventRequest::show
                                                                        : EventRequest::none;
    case SDL_KEYDOWN:
      if (holdsKeyboard && switchesAway(event.key.keysym)) return EventRequest::leaveForDesktop;
      notePress(presses, event.key.keysym.sym, when == EventTime::step);
      // A key or a click that reaches the program shows that it is in front, also where
      // leaving did nothing (no window manager to minimise it).
      return EventRequest::show;
    case SDL_MOUSEBUTTONDOWN:
      return EventRequest::show;
    default:
      return EventRequest::none;
  }
}

bool takeEvents(EventTime when, KeyPresses& presses, WindowPresence& presence) {
  if (when == EventTime::step) SDL_PumpEvents();
  endOnPendingXError();
  SDL_Event event;
  while (nextEvent(when, event)) {
    switch (requestOf(event, when, windowHoldsKeyboard(), presses)) {
      case EventRequest::endRun:
        return true;
      case EventRequest::resize:
        if (staleResize({event.resize.w, event.resize.h}, {videoSurface->w, videoSurface->h},
                        managedWindowSize())) {
          break;
        }
        resizeVideo(event.resize.w, event.resize.h);
        break;
      case EventRequest::leaveForDesktop:
        leaveForDesktop();
        presence.hidden = true;
        break;
      case EventRequest::hide:
        presence.hidden = true;
        break;
      case EventRequest::show:
        presence.hidden = false;
        break;
      case EventRequest::none:
        break;
    }
    keyState = SDL_GetKeyState(nullptr);
    if (keyState[SDLK_ESCAPE] || presses.quit) return true;
  }
  return false;
}
