#include "render/frustum.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

Frustum frustumFor(const Settings& settings, int32_t width, int32_t height) {
  // A collapsed window would make both sides 0 and the scale 1/0.
  width = std::max(width, int32_t{1});
  height = std::max(height, int32_t{1});
  // Sine, not tangent: the diagonal angle of view stays below the nominal one.
  float s = static_cast<float>(std::sin(settings.fieldOfView * 0.5));
  // 64 bits so that even a huge drawable cannot overflow into a negative root;
  // for any real window this equals the 32-bit sum.
  int64_t sumOfSquares =
      static_cast<int64_t>(width) * width + static_cast<int64_t>(height) * height;
  float k = static_cast<float>(1 / std::sqrt(static_cast<double>(sumOfSquares)));
  float halfWidth = static_cast<float>(width) * k * settings.nearPlane * s;
  float halfHeight = static_cast<float>(height) * k * settings.nearPlane * s;
  return {-halfWidth, halfWidth, -halfHeight, halfHeight, settings.nearPlane, settings.farPlane};
}

void loadProjection(const Settings& settings) {
  glViewport(0, 0, settings.windowWidth, settings.windowHeight);
  const Frustum frustum = frustumFor(settings, settings.windowWidth, settings.windowHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(frustum.left, frustum.right, frustum.bottom, frustum.top, frustum.nearPlane,
            frustum.farPlane);
  glMatrixMode(GL_MODELVIEW);
}
