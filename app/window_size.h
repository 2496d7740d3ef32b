#pragma once
// The sizes the program asks of SDL for the screen it finds: the full-screen mode, and the
// window F11 gives, so a big screen gets a picture of its own size.

#include <cstdint>
#include <vector>

struct WindowSize {
  int32_t width;
  int32_t height;
};

bool operator==(const WindowSize& a, const WindowSize& b);

// F11's window on `screen`: 4:3, about two thirds of the screen's height, never smaller than
// `start` (1024x768) where that fits, never wider than the screen.
WindowSize windowedSize(WindowSize start, WindowSize screen);

// The full-screen mode: `start` where the screen offers it (`modes`, or `anyMode`); on
// classic SDL 1.2, which otherwise shows the picture 1:1 amid black, the screen's own size
// where it does not. sdl12-compat scales the picture to the screen by itself.
WindowSize fullScreenSize(WindowSize start, WindowSize screen, const std::vector<WindowSize>& modes,
                          bool anyMode, bool classicSdl);
