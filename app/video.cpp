#include "app/video.h"

#include <algorithm>
#include <cstdlib>

#include "app/desktop_window.h"
#include "app/globals.h"
#include "app/run_end.h"
#include "app/signals.h"
#include "app/video_environment.h"
#include "app/window_size.h"
#include "app/xlib.h"
#include "render/frame.h"
#include "render/frustum.h"

SDL_Surface* videoSurface = nullptr;

namespace {

constexpr int bitsPerPixel = 32;
constexpr Uint32 startModeFlags = SDL_FULLSCREEN | SDL_RESIZABLE | SDL_OPENGL;
constexpr Uint32 resizedModeFlags = SDL_RESIZABLE | SDL_OPENGL;

// The screen as the program found it before its first mode, set once by initVideo.
WindowSize screenSize = {0, 0};

WindowSize startSize() {
  const Settings start = startSettings();
  return {start.windowWidth, start.windowHeight};
}

// The screen's size, for F11's window. The full-screen mode stays the start size: asked for
// the screen's own size where it has no 1024x768 mode, classic SDL spans every head of a
// Xinerama screen and gives a window of that size where only one head is shown.
void readScreenSize() {
  // Without video (no display) there is nothing to read; the mode asked for then fails as it
  // always did.
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (info) screenSize = {info->current_w, info->current_h};
}

[[noreturn]] void endWithoutWindow(const char* message) {
  const char* cause = SDL_GetError();
  endWithoutVideo(message, videoStartAdvice(std::getenv("SDL_VIDEODRIVER"), cause ? cause : ""));
}

SDL_Surface* setVideoMode(int32_t width, int32_t height, Uint32 flags) {
  const OpeningWindow opening;
  return SDL_SetVideoMode(width, height, bitsPerPixel, flags);
}

// The size drawn at: the mode's, or in full screen on a screen without that mode, the box the
// picture was grown to.
WindowSize drawnSize() {
  const WindowSize mode = {videoSurface->w, videoSurface->h};
  if (!(videoSurface->flags & SDL_FULLSCREEN)) return mode;
  return fillFullScreen(mode);
}

// A re-created mode: the projection for the size granted, then the fixed state again.
void recreateVideo(int32_t width, int32_t height, Uint32 flags) {
  videoSurface = setVideoMode(width, height, flags);
  if (!videoSurface) endWithoutWindow("Can't set video mode after resizing ! Exiting.");
  watchWindow();
  const WindowSize drawn = drawnSize();
  setProjection(drawn.width, drawn.height);
  applyGlState();
}

}  // namespace

void initVideo() {
  SDL_Init(SDL_INIT_VIDEO);  // a failure shows up as a failing SDL_SetVideoMode
  readScreenSize();
  const WindowSize start = startSize();
  {
    const WindowOpeningGuard guard;
    videoSurface = setVideoMode(start.width, start.height, startModeFlags);
  }
  if (!videoSurface) endWithoutWindow("Can't set video mode! Exiting.");
  watchWindow();
  SDL_WM_SetCaption("SDL window", "sdl window");
  applyGlState();
  const WindowSize drawn = drawnSize();
  setProjection(drawn.width, drawn.height);
}

void keepFullScreenFilled() {
  if (!videoSurface || !fullScreenFilled()) return;
  const WindowSize drawn = drawnSize();
  if (drawn.width != settings.windowWidth || drawn.height != settings.windowHeight) {
    setProjection(drawn.width, drawn.height);
  }
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

namespace {

// After F11 either way: the keyboard to the window, and no grab of the pointer left, which
// sdl12-compat keeps from full screen; classic SDL 1.2 grabs only in full screen, by itself.
void afterFullScreenSwitch() {
  if (!isClassicSdl(*SDL_Linked_Version())) SDL_WM_GrabInput(SDL_GRAB_OFF);
  askForActivation();
}

}  // namespace

void toggleFullScreen() {
  if (!(videoSurface->flags & SDL_FULLSCREEN)) {
    const WindowSize start = startSize();
    recreateVideo(start.width, start.height, startModeFlags);
    afterFullScreenSwitch();
    return;
  }
  // Centred, where the window manager leaves the place to the program; only this once, so a
  // window the user moved or resized is re-created where it is.
  const bool centre = !std::getenv("SDL_VIDEO_CENTERED") && !std::getenv("SDL_VIDEO_WINDOW_POS");
  if (centre) setenv("SDL_VIDEO_CENTERED", "1", 1);
  const WindowSize window = windowedSize(startSize(), screenSize);
  recreateVideo(window.width, window.height, resizedModeFlags);
  if (centre) unsetenv("SDL_VIDEO_CENTERED");
  afterFullScreenSwitch();
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
