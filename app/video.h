#pragma once
// The one window with its OpenGL context: opening it, the fixed GL state, the
// projection that follows the drawable size, and re-creating it on resize.

#include <SDL.h>

#include <cstdint>
#include <string>

extern SDL_Surface* videoSurface;  // what SDL_SetVideoMode returned last; null before

// Full-screen, resizable, 1024x768x32 with caption, GL state and projection. Ends
// the process with status 2 when no mode can be set.
void initVideo();

// Stores the size in `settings`, sets viewport and projection, leaves GL_MODELVIEW.
// A zero side counts as 1, so a collapsed window cannot divide by zero.
void setProjection(int32_t width, int32_t height);

// Windowed at the new size from then on. Ends the process with status 2 on failure.
void resizeVideo(int32_t width, int32_t height);

// The one way a fatal shell condition ends: message on standard output, SDL_Quit,
// exit status 2.
[[noreturn]] void exitWithMessage(const std::string& message);

// Without a user choice, SDL 1.2 falls back from X11 to text-mode drivers that
// write escape sequences to standard output; pin X11 so a missing display fails
// cleanly. A driver the user named is kept. Also the settings of video_environment.h.
void chooseVideoDriver();
