#pragma once
// The per-frame input step: mouse steering, the mesh keys, the render flags and
// the free-flying viewer with its turn rates, thrust and brake.

#include <cstdint>
#include <functional>
#include <ostream>

#include "geom/pose.h"
#include "geom/vector.h"
#include "render/settings.h"

struct CameraState {
  float thrustExponent;  // natural logarithm of the thrust, units per second squared
  Pose cameraPose;       // camera to world; the camera looks along its own -z
  Vector3 cameraVelocity{0.0, 0.0, 0.0};  // world units per second; only brake and F10 remove it
  double pitchRate = 0.0;                 // about the camera's x axis, radians per second
  double yawRate = 0.0;                   // about the camera's y axis
  double rollRate = 0.0;                  // about the camera's z axis
  int32_t mouseX = 0;                     // last pointer position, window pixels, y downwards
  int32_t mouseY = 0;
  bool wireframe = false;
  bool cullBackFaces = false;
  bool splitKeyLatch = false;   // true while y is held after it fired
  bool refineKeyLatch = false;  // true while t is held after it fired
};

// At rest at the origin, identity orientation.
CameraState startCameraState(float thrustExponent);

struct CameraInput {
  const uint8_t* keyState;  // one byte per SDLKey, non-zero while held; null means none held
  uint8_t mouseButtons;     // bit 0: left button
  int32_t mouseX;
  int32_t mouseY;
};

struct MeshKeys {
  std::function<void()> splitEdge;   // the y key
  std::function<void()> refineStep;  // the t key
};

void updateCamera(CameraState& camera, const CameraInput& input, const Settings& settings,
                  double frameTime, float defaultThrustExponent, const MeshKeys& meshKeys,
                  std::ostream& out);

// Moves value toward zero by step, landing exactly on zero rather than crossing it.
void dampTowardZero(double& value, double step);

// Shortens v by amount, keeping its direction; an amount at least |v| stops it.
void shortenVector(Vector3& v, float amount);

Quaternion quaternionProduct(const Quaternion& a, const Quaternion& b);
