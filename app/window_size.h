#pragma once
// The size of the window F11 gives on the screen the program finds, so a big screen gets a
// picture of its own size.

#include <cstdint>

struct WindowSize {
  int32_t width;
  int32_t height;
};

bool operator==(const WindowSize& a, const WindowSize& b);

// F11's window on `screen`: 4:3, about two thirds of the screen's height, never smaller than
// `start` (1024x768) where that fits, never wider than the screen.
WindowSize windowedSize(WindowSize start, WindowSize screen);

// A resize that asks for a size the window had, not the one it has: the X server says the
// window still has the drawn size (`drawn`), not the one asked for. Window managers send such
// (mutter, placing the window F11 gives: its ConfigureNotify of the size before), and classic
// SDL 1.2 passes it on as a resize. `window` is {0, 0} where the server's word is not known.
bool staleResize(WindowSize asked, WindowSize drawn, WindowSize window);
