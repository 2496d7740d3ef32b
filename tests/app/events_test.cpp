#include "app/events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SDL_Event key(SDLKey sym, SDLMod mod = KMOD_NONE) {
  SDL_Event event = {};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = sym;
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event active(Uint8 gain, Uint8 state) {
  SDL_Event event = {};
  event.type = SDL_ACTIVEEVENT;
  event.active.gain = gain;
  event.active.state = state;
  return event;
}

SDL_Event ofType(Uint8 type) {
  SDL_Event event = {};
  event.type = type;
  return event;
}

bool samePresses(const KeyPresses& a, const KeyPresses& b) {
  return a.split == b.split && a.refine == b.refine && a.renderFlagKey == b.renderFlagKey &&
         a.reset == b.reset && a.quit == b.quit && a.toggleFullScreen == b.toggleFullScreen &&
         a.toggleKeys == b.toggleKeys && a.home == b.home && a.toggleMeshView == b.toggleMeshView;
}

struct EventCase {
  const char* what;
  std::vector<SDL_Event> events;
  EventTime when;
  bool holdsKeyboard;
  EventRequest lastRequest;
  KeyPresses expected;  // y, t, render key, F10, Escape, F11, F1, Home, m
};

// One sequence of events at a time: what the last asks, and the presses noted on the way.
TEST(Events, OneRuleForEveryEvent) {
  const EventRequest none = EventRequest::none;
  const EventRequest show = EventRequest::show;
  const std::vector<EventCase> cases = {
      {"during a step t and y count once",
       {key(SDLK_t), key(SDLK_y), key(SDLK_t), key(SDLK_y)},
       EventTime::step,
       false,
       show,
       KeyPresses{1, 1}},
      {"F1, Home and m, during a step too",
       {key(SDLK_F1), key(SDLK_HOME), key(SDLK_m), key(SDLK_m), key(SDLK_m)},
       EventTime::step,
       false,
       show,
       KeyPresses{0, 0, SDLK_UNKNOWN, false, false, false, true, true, true}},
      {"Alt+Tab leaves where the keyboard is held",
       {key(SDLK_TAB, KMOD_LALT), key(SDLK_t)},
       EventTime::frame,
       true,
       show,
       KeyPresses{0, 1}},
      {"Alt+Tab",
       {key(SDLK_TAB, KMOD_RALT)},
       EventTime::step,
       true,
       EventRequest::leaveForDesktop,
       KeyPresses{}},
      {"the Super key",
       {key(SDLK_LSUPER)},
       EventTime::frame,
       true,
       EventRequest::leaveForDesktop,
       KeyPresses{}},
      {"a plain Tab stays", {key(SDLK_TAB)}, EventTime::frame, true, show, KeyPresses{}},
      {"where the desktop has the keyboard",
       {key(SDLK_TAB, KMOD_LALT)},
       EventTime::frame,
       false,
       show,
       KeyPresses{}},
      {"minimised",
       {active(0, SDL_APPACTIVE | SDL_APPINPUTFOCUS)},
       EventTime::frame,
       false,
       EventRequest::hide,
       KeyPresses{}},
      {"focus lost, still in view",
       {active(0, SDL_APPINPUTFOCUS)},
       EventTime::frame,
       false,
       none,
       KeyPresses{}},
      {"restored", {active(1, SDL_APPACTIVE)}, EventTime::frame, false, show, KeyPresses{}},
      {"focus back", {active(1, SDL_APPINPUTFOCUS)}, EventTime::step, false, show, KeyPresses{}},
      {"the pointer alone",
       {active(1, SDL_APPMOUSEFOCUS)},
       EventTime::frame,
       false,
       none,
       KeyPresses{}},
      {"a click", {ofType(SDL_MOUSEBUTTONDOWN)}, EventTime::frame, false, show, KeyPresses{}},
      {"quit", {ofType(SDL_QUIT)}, EventTime::step, false, EventRequest::endRun, KeyPresses{}},
      {"resize",
       {ofType(SDL_VIDEORESIZE)},
       EventTime::frame,
       false,
       EventRequest::resize,
       KeyPresses{}},
      {"pointer motion", {ofType(SDL_MOUSEMOTION)}, EventTime::frame, false, none, KeyPresses{}},
  };
  for (const EventCase& c : cases) {
    KeyPresses presses;
    EventRequest last = EventRequest::none;
    for (const SDL_Event& event : c.events)
      last = requestOf(event, c.when, c.holdsKeyboard, presses);
    EXPECT_EQ(last, c.lastRequest) << c.what;
    EXPECT_TRUE(samePresses(presses, c.expected)) << c.what;
  }
}

}  // namespace
