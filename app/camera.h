#pragma once
// The per-frame input step: mouse steering, the mesh keys, the render flags and
// the free-flying viewer with its turn rates, thrust and brake.

#include <cstdint>
#include <functional>
#include <ostream>

#include "app/key_presses.h"
#include "geom/pose.h"
#include "geom/vector.h"
#include "render/settings.h"

// The thrust a run starts with and F10 restores: ln 1, a thrust of one unit per second squared.
constexpr float defaultThrustExponent = 0.0f;

// The input step's own state, kept from one frame to the next: the program holds one,
// a test a local one. A new field needs its line here and nowhere else.
struct Viewer {
  Vector3 velocity = {0.0, 0.0, 0.0};  // world units per second; only brake and F10 remove it
  double pitchRate = 0.0;              // about the camera's x axis, radians per second
  double yawRate = 0.0;                // about the camera's y axis
  double rollRate = 0.0;               // about the camera's z axis
  float thrustExponent = defaultThrustExponent;  // natural logarithm of the thrust
  int32_t mouseX = 0;  // last pointer position, window pixels, y downwards
  int32_t mouseY = 0;
  bool splitKeyLatch = false;   // true while y is held after it fired
  bool refineKeyLatch = false;  // true while t is held after it fired
};

// What one input step works on: the viewer, and what it writes for the renderer, which
// are the program's shared globals of their own (a test passes locals).
struct CameraState {
  Viewer& viewer;
  Pose& cameraPose;  // camera to world; the camera looks along its own -z
  bool& wireframe;
  bool& cullBackFaces;
};

// At rest at the origin, identity orientation.
constexpr Pose startCameraPose = {{1.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};

struct CameraInput {
  const uint8_t* keyState;  // one byte per SDLKey, non-zero while held; null means none held
  uint8_t mouseButtons;     // bit 0: left button
  int32_t mouseX;
  int32_t mouseY;
  KeyPresses presses = {};  // the once-per-press keys pressed since the last input step
};

struct MeshKeys {
  std::function<void()> splitEdge;   // the y key
  std::function<void()> refineStep;  // the t key
};

// One frame's input step; it writes nothing but `camera`. The pointer position, and
// with the left button held the yaw and pitch rates it sets; the render flags (keys 1
// to 4); the turn rates, thrust and velocity; last the pose, advanced by frameTime
// seconds. A mesh key calls its `meshKeys` function once for each of its presses, and
// once when it is found held without having fired, before the viewer turns or moves, and
// not again until it is released (the latches in the viewer). F10, held or pressed,
// restores the viewer's default thrust; Home, held or pressed, goes home (returnHome); while c
// is held, every frame prints the pose.
void updateCamera(const CameraState& camera, const CameraInput& input, const Settings& settings,
                  double frameTime, const MeshKeys& meshKeys, std::ostream& out);

// Back where the run started: the start pose, at rest, not turning, with the start thrust. The
// pointer and the key latches stay, as they follow the mouse and the keys.
void returnHome(const CameraState& camera);

// Moves value toward zero by step, landing exactly on zero rather than crossing it.
void dampTowardZero(double& value, double step);

// Shortens v by amount, keeping its direction; an amount at least |v| stops it.
void shortenVector(Vector3& v, float amount);
