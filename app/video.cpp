#include "app/video.h"

#include <algorithm>
#include <cstdlib>

#include "app/desktop_window.h"
#include "app/globals.h"
#include "app/run_end.h"
#include "app/signals.h"
#include "app/video_environment.h"
#include "app/xlib.h"
#include "render/frame.h"
#include "render/frustum.h"

SDL_Surface* videoSurface = nullptr;

namespace {

constexpr int bitsPerPixel = 32;
constexpr Uint32 startModeFlags = SDL_FULLSCREEN | SDL_RESIZABLE | SDL_OPENGL;
constexpr Uint32 resizedModeFlags = SDL_RESIZABLE | SDL_OPENGL;

[[noreturn]] void endWithoutWindow(const char* message) {
  const char* cause = SDL_GetError();
  endWithoutVideo(message, videoStartAdvice(std::getenv("SDL_VIDEODRIVER"), cause ? cause : ""));
}

SDL_Surface* setVideoMode(int32_t width, int32_t height, Uint32 flags) {
  const OpeningWindow opening;
  return SDL_SetVideoMode(width, height, bitsPerPixel, flags);
}

// A re-created mode: the projection for the size granted, then the fixed state again.
void recreateVideo(int32_t width, int32_t height, Uint32 flags) {
  videoSurface = setVideoMode(width, height, flags);
  if (!videoSurface) endWithoutWindow("Can't set video mode after resizing ! Exiting.");
  watchWindow();
  setProjection(videoSurface->w, videoSurface->h);
  applyGlState();
}

}  // namespace

void initVideo() {
  SDL_Init(SDL_INIT_VIDEO);  // a failure shows up as a failing SDL_SetVideoMode
  {
    const WindowOpeningGuard guard;
    videoSurface = setVideoMode(settings.windowWidth, settings.windowHeight, startModeFlags);
  }
  if (!videoSurface) endWithoutWindow("Can't set video mode! Exiting.");
  watchWindow();
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
  recreateVideo(width, height, resizedModeFlags);
}

void toggleFullScreen() {
  if (videoSurface->flags & SDL_FULLSCREEN) {
    recreateVideo(videoSurface->w, videoSurface->h, resizedModeFlags);
    return;
  }
  const Settings start = startSettings();
  recreateVideo(start.windowWidth, start.windowHeight, startModeFlags);
}

void leaveForDesktop() {
  SDL_WM_IconifyWindow();
}

void restoreScreenMode() {
  const bool fullScreen = videoSurface != nullptr && (videoSurface->flags & SDL_FULLSCREEN) != 0;
  if (fullScreen && isClassicSdl(*SDL_Linked_Version())) quitSdl();
}

void swapVideoBuffers() {
  SDL_GL_SwapBuffers();
}
