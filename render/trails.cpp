#include "render/trails.h"

#include <GL/gl.h>

TrailImage trailImage;

namespace {

int powerOfTwoAtLeast(int size) {
  int power = 1;
  while (power < size) power *= 2;
  return power;
}

// Restores the texture binding around the trail texture's use, so whatever the
// figure has bound stays bound.
class TextureBinding {
 public:
  TextureBinding() { glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous_); }
  ~TextureBinding() { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous_)); }
  TextureBinding(const TextureBinding&) = delete;
  TextureBinding& operator=(const TextureBinding&) = delete;

 private:
  GLint previous_ = 0;
};

bool frontPixelIs(const GLubyte (&expected)[3]) {
  GLubyte pixel[4] = {0, 0, 0, 0};
  glReadBuffer(GL_FRONT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  glReadBuffer(GL_BACK);
  return pixel[0] == expected[0] && pixel[1] == expected[1] && pixel[2] == expected[2];
}

// One lower-left pixel in the colour, the rest black, shown; then the front read back.
bool frontShows(const GLubyte (&colour)[3], SwapBuffersFunction swapBuffers) {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 1, 1);
  glClearColor(colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 0);
  swapBuffers();
  glFinish();
  return frontPixelIs(colour);
}

// The texture is made, or made larger, only when the window outgrows it.
void prepareTexture(TrailImage& image, int width, int height) {
  const int textureWidth = powerOfTwoAtLeast(width);
  const int textureHeight = powerOfTwoAtLeast(height);
  const bool fits = image.textureWidth >= textureWidth && image.textureHeight >= textureHeight;
  if (image.texture != 0 && fits) return;
  // The first texture, or one lost with its context and forgotten since, is made anew.
  if (image.texture == 0) {
    GLuint name = 0;
    glGenTextures(1, &name);
    image.texture = name;
  }
  image.textureWidth = textureWidth;
  image.textureHeight = textureHeight;
  glBindTexture(GL_TEXTURE_2D, image.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureWidth, textureHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
               nullptr);
}

// Texel centres fall on pixel centres, so the nearest texel is the pixel's own.
void drawTexture(const TrailImage& image) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, image.imageWidth, 0, image.imageHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const float right = static_cast<float>(image.imageWidth) / image.textureWidth;
  const float top = static_cast<float>(image.imageHeight) / image.textureHeight;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(0, 0);
  glTexCoord2f(right, 0);
  glVertex2i(image.imageWidth, 0);
  glTexCoord2f(right, top);
  glVertex2i(image.imageWidth, image.imageHeight);
  glTexCoord2f(0, top);
  glVertex2i(0, image.imageHeight);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

}  // namespace

TrailCopy probeFrontBuffer(SwapBuffersFunction swapBuffers) {
  // Two different colours, so a front buffer that lags one swap behind fails too.
  const GLubyte first[3] = {51, 153, 102};
  const GLubyte second[3] = {204, 102, 51};
  const bool readable = frontShows(first, swapBuffers) && frontShows(second, swapBuffers);
  return readable ? TrailCopy::frontBuffer : TrailCopy::texture;
}

void forgetLostTexture(TrailImage& image) {
  if (image.copy == TrailCopy::texture && image.texture != 0 && !glIsTexture(image.texture)) {
    image.texture = 0;
  }
}

// After a resize the old image no longer fits the window, and a texture lost with its
// context holds none.
bool trailImageCovers(const TrailImage& image, int width, int height) {
  if (image.imageWidth != width || image.imageHeight != height || width <= 0) return false;
  return image.copy == TrailCopy::frontBuffer || image.texture != 0;
}

void restoreTrailImage(const TrailImage& image) {
  if (image.copy != TrailCopy::texture) return;
  TextureBinding binding;
  glBindTexture(GL_TEXTURE_2D, image.texture);
  drawTexture(image);
}

void keepTrailImageBeforeSwap(TrailImage& image, int width, int height) {
  if (image.copy != TrailCopy::texture) return;
  TextureBinding binding;
  prepareTexture(image, width, height);
  glBindTexture(GL_TEXTURE_2D, image.texture);
  glReadBuffer(GL_BACK);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
  image.imageWidth = width;
  image.imageHeight = height;
}

// glFlush first, so the swapped image is complete before it is read.
void keepTrailImageAfterSwap(TrailImage& image, int width, int height) {
  if (image.copy != TrailCopy::frontBuffer) return;
  glFlush();
  glReadBuffer(GL_FRONT);
  glDrawBuffer(GL_BACK);
  glCopyPixels(0, 0, width, height, GL_COLOR);
  glDrawBuffer(GL_BACK);
  image.imageWidth = width;
  image.imageHeight = height;
}

void releaseTrailImage(TrailImage& image) {
  if (image.texture != 0) {
    GLuint name = image.texture;
    glDeleteTextures(1, &name);
  }
  image = TrailImage{};
}
