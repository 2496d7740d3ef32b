#pragma once
// The one window with its OpenGL context: opening it, the fixed GL state, the projection that
// follows the drawable size, re-creating it on a resize or F11, and leaving it for the desktop.

#include <SDL.h>

#include <cstdint>

extern SDL_Surface* videoSurface;  // what SDL_SetVideoMode returned last; null before

// Full-screen, resizable, 1024x768x32 with caption, GL state and projection; on classic SDL
// 1.2, where the screen has no such mode, the picture fills the screen (fillFullScreen). Ends
// the run with noVideoMode when no mode can be set.
void initVideo();

// Each frame where the picture fills the screen: classic SDL 1.2 centres its drawing window
// again when full screen comes back (after the desktop had the window), so it is grown again,
// and the projection follows the size drawn at. Two round trips to the X server.
void keepFullScreenFilled();

// Stores the size in `settings`, sets viewport and projection, leaves GL_MODELVIEW.
// A zero side counts as 1, so a collapsed window cannot divide by zero.
void setProjection(int32_t width, int32_t height);

// Windowed at the new size from then on. Ends the run with noVideoMode on failure.
void resizeVideo(int32_t width, int32_t height);

// From full screen to a window of about two thirds of the screen's height (1024x768 at least,
// where that fits), or from a window back to the full-screen mode the program starts in,
// re-created as a resize does. Ends the run on failure.
void toggleFullScreen();

// Minimises the window: on classic SDL 1.2 full screen that also lets go of the keyboard and
// the pointer, so the desktop and its other windows get them.
void leaveForDesktop();

// After a crash: on classic SDL 1.2 full screen, SDL_Quit switches the monitor back from
// the 1024x768 mode SDL set under Xorg; elsewhere there is nothing to give back.
void restoreScreenMode();

// Shows the frame drawn: SDL_GL_SwapBuffers, as render/ takes it.
void swapVideoBuffers();
