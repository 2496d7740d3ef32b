#include "render/step_progress.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/window_pixels.h"

namespace {

constexpr int gapPixels = 2;

int barHeight(int windowHeight) {
  return std::max(4, windowHeight / 128);
}

void fillRectangle(const BarRectangle& rectangle) {
  if (rectangle.done) {
    glColor3f(0.45f, 0.75f, 1.0f);
  } else {
    glColor3f(0.12f, 0.12f, 0.12f);
  }
  glRecti(rectangle.x, rectangle.y, rectangle.x + rectangle.width, rectangle.y + rectangle.height);
}

// The picture under the bar's rows, read from the back buffer, which holds the shown picture
// on the front-buffer path; the texture path keeps the whole picture in its texture.
void keepCoveredRows(int width, int height, StepProgressPicture& picture) {
  picture.coveredRows.resize(static_cast<std::size_t>(width) * barHeight(height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, barHeight(height), GL_RGBA, GL_UNSIGNED_BYTE,
               picture.coveredRows.data());
}

// The back buffer gets the shown picture: from the front buffer after a swap of ours, or the
// trails' texture. The raster position stays at its default, the lower left corner.
void putShownPicture(const Settings& settings, const TrailImage& image) {
  WindowPixelsDrawing state(settings.windowWidth, settings.windowHeight);
  if (image.copy == TrailCopy::texture) {
    restoreTrailImage(image);
    return;
  }
  glReadBuffer(GL_FRONT);
  glDrawBuffer(GL_BACK);
  glCopyPixels(0, 0, settings.windowWidth, settings.windowHeight, GL_COLOR);
}

}  // namespace

std::vector<BarRectangle> progressBar(int windowWidth, int windowHeight, int passCount, int pass,
                                      double fractionDone) {
  std::vector<BarRectangle> bar;
  if (passCount <= 0 || windowWidth <= 0 || windowHeight <= 0) return bar;
  const int height = barHeight(windowHeight);
  const double fraction = std::clamp(fractionDone, 0.0, 1.0);
  for (int slot = 0; slot < passCount; ++slot) {
    const int left = windowWidth * slot / passCount;
    const int width = std::max(1, windowWidth * (slot + 1) / passCount - left - gapPixels);
    bar.push_back({left, 0, width, height, false});
    int done = 0;
    if (slot < pass) done = width;
    if (slot == pass) done = static_cast<int>(std::floor(width * fraction));
    if (done > 0) bar.push_back({left, 0, done, height, true});
  }
  return bar;
}

void showStepProgress(const Settings& settings, TrailImage& image,
                      const std::vector<BarRectangle>& bar, StepProgressPicture& picture,
                      SwapBuffersFunction swapBuffers) {
  const int width = settings.windowWidth;
  const int height = settings.windowHeight;
  if (!settings.trails || !trailImageCovers(image, width, height)) return;
  if (!picture.shown && image.copy == TrailCopy::frontBuffer) {
    keepCoveredRows(width, height, picture);
  }
  if (picture.shown || image.copy == TrailCopy::texture) putShownPicture(settings, image);
  picture.shown = true;
  {
    WindowPixelsDrawing state(width, height);
    for (const BarRectangle& rectangle : bar) fillRectangle(rectangle);
  }
  swapBuffers();
}

void endStepProgress(const Settings& settings, const TrailImage& image,
                     StepProgressPicture& picture) {
  if (!picture.shown) return;
  picture.shown = false;
  if (image.copy != TrailCopy::frontBuffer) return;
  putShownPicture(settings, image);
  WindowPixelsDrawing state(settings.windowWidth, settings.windowHeight);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDrawPixels(settings.windowWidth, barHeight(settings.windowHeight), GL_RGBA, GL_UNSIGNED_BYTE,
               picture.coveredRows.data());
}
