#pragma once
// The per-frame input step: mouse steering, the mesh keys, the render flags and
// the free-flying viewer with its turn rates, thrust and brake.

#include <cstdint>
#include <functional>
#include <ostream>

#include "geom/pose.h"
#include "geom/vector.h"
#include "render/settings.h"

// The viewer's state as updateCamera sees it. References rather than one value: the
// pose and the render flags are globals of their own that the renderer reads, and the
// rest live beside them for the whole run, so the program hands over those globals
// (no copy to keep in step) and a test locals of its own.
struct CameraState {
  float& thrustExponent;    // natural logarithm of the thrust, units per second squared
  Pose& cameraPose;         // camera to world; the camera looks along its own -z
  Vector3& cameraVelocity;  // world units per second; only brake and F10 remove it
  double& pitchRate;        // about the camera's x axis, radians per second
  double& yawRate;          // about the camera's y axis
  double& rollRate;         // about the camera's z axis
  int32_t& mouseX;          // last pointer position, window pixels, y downwards
  int32_t& mouseY;
  bool& wireframe;
  bool& cullBackFaces;
  bool& splitKeyLatch;   // true while y is held after it fired
  bool& refineKeyLatch;  // true while t is held after it fired
};

// At rest at the origin, identity orientation.
constexpr Pose startCameraPose = {{1.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};

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

// One frame's input step; it writes nothing but `camera`. The pointer position, and
// with the left button held the yaw and pitch rates it sets; the render flags (keys 1
// to 4); the turn rates, thrust and velocity; last the pose, advanced by frameTime
// seconds. A mesh key calls its `meshKeys` function in the frame it goes down, before
// the viewer turns or moves, and not again until it is released (the latches in
// `camera`). F10 restores defaultThrustExponent; while c is held, every frame prints
// the pose on `out`.
void updateCamera(CameraState& camera, const CameraInput& input, const Settings& settings,
                  double frameTime, float defaultThrustExponent, const MeshKeys& meshKeys,
                  std::ostream& out);

// Moves value toward zero by step, landing exactly on zero rather than crossing it.
void dampTowardZero(double& value, double step);

// Shortens v by amount, keeping its direction; an amount at least |v| stops it.
void shortenVector(Vector3& v, float amount);
