#pragma once
// The window's events, by one rule for the main loop and for the pauses of a long refinement
// step: what ends the run, the keys that act once per press, and what the desktop asks.

#include <SDL.h>

#include <cstdint>

#include "app/key_presses.h"

// Where events are read: between frames, or between the reports of a refinement step, when a
// resize waits in the queue for the loop and t and y count at most once.
enum class EventTime { frame, step };

// The window's standing with the desktop, kept by the loop from one frame to the next.
struct WindowPresence {
  bool hidden = false;         // minimised or left for the desktop: nothing is drawn meanwhile
  bool minimised = false;      // the window manager's word, which SDL may not pass on
  uint32_t minimisedRead = 0;  // SDL's tick when that was last read
};

// What one event asks beyond the presses it notes.
enum class EventRequest { none, endRun, resize, leaveForDesktop, hide, show };

// The rule for one event. `holdsKeyboard`: the window is full screen on classic SDL 1.2,
// which grabs the keyboard, so the desktop's own keys for switching away (Alt+Tab, the
// Super key) come to the program instead of the desktop; they leave for it.
EventRequest requestOf(const SDL_Event& event, EventTime when, bool holdsKeyboard,
                       KeyPresses& presses);

// Takes the waiting events and carries out what they ask, as `when` allows; true when the run
// must end: a quit event (closing the window, Ctrl-C, SIGTERM), Escape pressed, or Escape
// held while an event is handled.
bool takeEvents(EventTime when, KeyPresses& presses, WindowPresence& presence);
