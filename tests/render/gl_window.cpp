#include "tests/render/gl_window.h"

#include <GL/gl.h>
#include <SDL.h>

#include <stdexcept>

#include "render/frame.h"
#include "render/frustum.h"

namespace {

Image shownImage;

// A display that has only just started may refuse the first connection on a loaded
// machine; a few tries keep that from failing a test.
void openDisplay() {
  for (int attempt = 0; SDL_WasInit(SDL_INIT_VIDEO) == 0; ++attempt) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return;
    if (attempt == 4) throw std::runtime_error(SDL_GetError());
    SDL_Delay(500);
  }
}

}  // namespace

Settings useTestWindow(int width, int height) {
  openDisplay();
  SDL_Surface* surface = SDL_SetVideoMode(width, height, 32, SDL_OPENGL | SDL_RESIZABLE);
  if (surface == nullptr) throw std::runtime_error(SDL_GetError());
  Settings settings = startSettings();
  settings.windowWidth = surface->w;
  settings.windowHeight = surface->h;
  loadProjection(settings);
  applyGlState();
  // Software renderers take the new window size at a swap; until then a frame would
  // be drawn into buffers of the old size.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SDL_GL_SwapBuffers();
  glViewport(0, 0, settings.windowWidth, settings.windowHeight);
  return settings;
}

void swapAndKeepImage() {
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  shownImage.width = viewport[2];
  shownImage.height = viewport[3];
  shownImage.rgb.assign(3 * static_cast<size_t>(viewport[2]) * viewport[3], 0);
  GLint readBuffer = GL_BACK;
  glGetIntegerv(GL_READ_BUFFER, &readBuffer);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, viewport[2], viewport[3], GL_RGB, GL_UNSIGNED_BYTE, shownImage.rgb.data());
  glReadBuffer(static_cast<GLenum>(readBuffer));
  SDL_GL_SwapBuffers();
}

const Image& lastShownImage() {
  return shownImage;
}
