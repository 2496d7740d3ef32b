#pragma once
// The start-up settings record: window size, clipping planes, light, turn constants,
// field of view and the trail switch. The shell owns the one global instance.

#include <cstdint>

struct Settings {
  bool trails;           // trail rendering; never changed while running
  int32_t windowWidth;   // requested at start, then the current drawable width
  int32_t windowHeight;  // requested at start, then the current drawable height
  float nearPlane;
  float farPlane;
  float lightPosition[4];  // directional: w = 0
  float lightDiffuse[4];
  float lightSpecular[4];
  float lightAmbient[4];
  float turnAcceleration;  // radians per second squared
  float mouseTurnRate;     // radians per second at half the smaller window side
  float turnDamping;       // radians per second squared
  float fieldOfView;       // along the window diagonal, radians
};

constexpr Settings startSettings() {
  return {true,
          1024,
          768,
          0.001f,
          200.0f,
          {1.0f, -1.0f, 0.0f, 0.0f},
          {1.0f, 1.0f, 1.0f, 1.0f},
          {0.1f, 0.1f, 0.1f, 1.0f},
          {0.2f, 0.2f, 0.2f, 1.0f},
          1.0471976f,
          0.6981317f,
          1.0471976f,
          2.0943952f};
}
