#include "app/video.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "app/globals.h"
#include "app/opening_watch.h"
#include "app/video_environment.h"
#include "render/frame.h"
#include "render/frustum.h"

namespace {

constexpr int bitsPerPixel = 32;
constexpr Uint32 startModeFlags = SDL_FULLSCREEN | SDL_RESIZABLE | SDL_OPENGL;
constexpr Uint32 resizedModeFlags = SDL_RESIZABLE | SDL_OPENGL;

}  // namespace

void exitWithMessage(const std::string& message) {
  std::cout << message << std::endl;
  // Standard output carries only the fixed message; the cause goes to standard error.
  const char* cause = SDL_GetError();
  if (cause && *cause) std::cerr << "SDL: " << cause << std::endl;
  if (cause) std::cerr << videoDriverAdvice(std::getenv("SDL_VIDEODRIVER"), cause) << std::flush;
  SDL_Quit();
  std::exit(2);
}

void chooseVideoDriver() {
  applyVideoEnvironment();
}

void initVideo() {
  SDL_Init(SDL_INIT_VIDEO);  // a failure shows up as a failing SDL_SetVideoMode
  {
    const OpeningWatch watch;
    videoSurface =
        SDL_SetVideoMode(settings.windowWidth, settings.windowHeight, bitsPerPixel, startModeFlags);
  }
  if (!videoSurface) exitWithMessage("Can't set video mode! Exiting.");
  SDL_WM_SetCaption("SDL window", "sdl window");
  applyGlState();
  setProjection(videoSurface->w, videoSurface->h);
}

void setProjection(int32_t width, int32_t height) {
  width = std::max(width, int32_t{1});
  height = std::max(height, int32_t{1});
  settings.windowWidth = width;
  settings.windowHeight = height;
  loadProjection(settings);
}

void resizeVideo(int32_t width, int32_t height) {
  videoSurface = SDL_SetVideoMode(width, height, bitsPerPixel, resizedModeFlags);
  if (!videoSurface) exitWithMessage("Can't set video mode after resizing ! Exiting.");
  setProjection(videoSurface->w, videoSurface->h);
  applyGlState();
}
