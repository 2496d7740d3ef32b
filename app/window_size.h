#pragma once
// Window sizes worked out without X: the window F11 gives on the screen the program finds,
// where full screen's picture goes on a screen without its mode, and which resize is stale.

#include <cstdint>

struct WindowSize {
  int32_t width;
  int32_t height;
};

bool operator==(const WindowSize& a, const WindowSize& b);

// A window's place in its parent: its top left corner and its size.
struct WindowBox {
  int32_t left;
  int32_t top;
  WindowSize size;
};

// F11's window on `screen`: 4:3, about two thirds of the screen's height, never smaller than
// `start` (1024x768) where that fits, never wider than the screen.
WindowSize windowedSize(WindowSize start, WindowSize screen);

// A resize that asks for a size the window had, not the one it has: the X server says the
// window (`window`) still has the video mode's size (`current`), not the one asked for. Window
// managers send such (mutter, placing the window F11 gives: its ConfigureNotify of the size
// before), and classic SDL 1.2 passes it on. `window` is {0, 0} where it cannot be read.
bool staleResize(WindowSize asked, WindowSize current, WindowSize window);

// Where the picture of a video mode of `mode`'s size goes in a full-screen window of `screen`'s
// size: as large as fits at the mode's shape, centred, as sdl12-compat scales it. At the
// corner at the mode's own size where the screen is not larger both ways.
WindowBox filledBox(WindowSize mode, WindowSize screen);
