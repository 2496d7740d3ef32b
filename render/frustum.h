#pragma once
// The perspective projection for a drawable size: its frustum as plain numbers, so the
// arithmetic can be checked without a GL context, and the calls that load it.

#include <cstdint>

#include "render/settings.h"

struct Frustum {
  double left, right, bottom, top, nearPlane, farPlane;  // glFrustum's six arguments
};

// The field of view spans the window's diagonal and the near-plane half-diagonal is
// nearPlane * sin(fieldOfView / 2). A zero side counts as 1.
Frustum frustumFor(const Settings& settings, int32_t width, int32_t height);

// Viewport and projection for settings' window size; leaves GL_MODELVIEW selected.
void loadProjection(const Settings& settings);
