#include "app/video.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "app/frustum.h"
#include "app/globals.h"


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
  SDL_Quit();
  std::exit(2);
}

void chooseVideoDriver() {
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (chosen && *chosen) return;
  setenv("SDL_VIDEODRIVER", "x11", 1);
}

void initVideo() {
  SDL_Init(SDL_INIT_VIDEO);  // a failure shows up as a failing SDL_SetVideoMode
  videoSurface = SDL_SetVideoMode(settings.windowWidth, settings.windowHeight, bitsPerPixel,
                                  startModeFlags);
  if (!videoSurface) exitWithMessage("Can't set video mode! Exiting.");
  SDL_WM_SetCaption("SDL window", "sdl window");
  applyGlState();
  setProjection(videoSurface->w, videoSurface->h);
}

void applyGlState() {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glColor4f(1, 1, 1, 1);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
}

void setProjection(int32_t width, int32_t height) {
  width = std::max(width, int32_t{1});
  height = std::max(height, int32_t{1});
  settings.windowWidth = width;
  settings.windowHeight = height;
  glViewport(0, 0, width, height);
  Frustum frustum = frustumFor(settings, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(frustum.left, frustum.right, frustum.bottom, frustum.top, frustum.nearPlane,
            frustum.farPlane);
  glMatrixMode(GL_MODELVIEW);
}

void resizeVideo(int32_t width, int32_t height) {
  videoSurface = SDL_SetVideoMode(width, height, bitsPerPixel, resizedModeFlags);
  if (!videoSurface) exitWithMessage("Can't set video mode after resizing ! Exiting.");
  setProjection(videoSurface->w, videoSurface->h);
  applyGlState();
}
