#include "app/camera.h"

#include <SDL_keysym.h>

#include <cmath>

#include "geom/matrix.h"
#include "geom/print.h"

namespace {

// Before the loop has fetched SDL's array there is nothing held.
const uint8_t noKeysHeld[SDLK_LAST] = {};

struct Keys {
  const uint8_t* state;
  bool held(SDLKey key) const { return state[key] != 0; }
};

void steerWithMouse(const CameraState& camera, const CameraInput& input, const Settings& settings) {
  camera.viewer.mouseX = input.mouseX;
  camera.viewer.mouseY = input.mouseY;
  if (!(input.mouseButtons & 1)) return;
  int32_t width = settings.windowWidth;
  int32_t height = settings.windowHeight;
  int32_t smallerSide = width < height ? width : height;
  // Overwritten, not accumulated: the pointer's offset from the centre is the rate.
  camera.viewer.yawRate =
      -(2 * (camera.viewer.mouseX - width / 2) / (smallerSide + 0.1)) * settings.mouseTurnRate;
  camera.viewer.pitchRate =
      -(2 * (camera.viewer.mouseY - height / 2) / (smallerSide + 0.1)) * settings.mouseTurnRate;
}

// Fires once per press however short it was and however many frames the key stays down.
void latchedKey(bool held, int presses, bool& latch, const std::function<void()>& action) {
  for (int actions = latchedPresses(held, presses, latch); actions > 0; --actions) {
    if (action) action();
  }
}

void setFlags(const CameraState& camera, bool wireframe, bool cullBackFaces) {
  camera.wireframe = wireframe;
  camera.cullBackFaces = cullBackFaces;
}

void setFlagsOf(const CameraState& camera, SDLKey key) {
  if (key == SDLK_1) setFlags(camera, false, true);
  if (key == SDLK_2) setFlags(camera, true, true);
  if (key == SDLK_3) setFlags(camera, true, false);
  if (key == SDLK_4) setFlags(camera, false, false);
}

void setRenderFlags(const CameraState& camera, Keys keys, SDLKey lastPressed) {
  // Tested in this order, so the last held key wins; a key pressed this frame wins over
  // them all, held or already released.
  for (SDLKey key : {SDLK_1, SDLK_2, SDLK_3, SDLK_4}) {
    if (keys.held(key)) setFlagsOf(camera, key);
  }
  setFlagsOf(camera, lastPressed);
}

// sense +1 or -1 accelerates, 0 lets the rate decay.
void turn(double& rate, int sense, const Settings& settings, double dt) {
  if (sense > 0) {
    rate += settings.turnAcceleration * dt;
  } else if (sense < 0) {
    rate -= settings.turnAcceleration * dt;
  } else {
    dampTowardZero(rate, settings.turnDamping * dt);
  }
}

// The first key wins when both are held.
int direction(bool first, int firstDirection, bool second) {
  if (first) return firstDirection;
  if (second) return -firstDirection;
  return 0;
}

void thrust(const CameraState& camera, double along, double dt) {
  Vector3 push = {0.0, 0.0,
                  along * std::exp(static_cast<double>(camera.viewer.thrustExponent)) * dt};
  Vector3 world = transform(rotationMatrix(camera.cameraPose.orientation), push);
  camera.viewer.velocity = camera.viewer.velocity + world;
}

void updateOrientation(const CameraState& camera, double dt) {
  Quaternion change = {1.0, dt * camera.viewer.pitchRate * 0.5, dt * camera.viewer.yawRate * 0.5,
                       dt * camera.viewer.rollRate * 0.5};
  // Applied on the right: the turn happens in the camera's own frame.
  camera.cameraPose.orientation = quaternionProduct(camera.cameraPose.orientation, change);
  normalize(camera.cameraPose.orientation);
}

void updatePosition(const CameraState& camera, double dt) {
  Vector3& position = camera.cameraPose.position;
  position.x += camera.viewer.velocity.x * dt;
  position.y += camera.viewer.velocity.y * dt;
  position.z += camera.viewer.velocity.z * dt;
}

}  // namespace

void updateCamera(const CameraState& camera, const CameraInput& input, const Settings& settings,
                  double frameTime, const MeshKeys& meshKeys, std::ostream& out) {
  double dt = frameTime;
  Keys keys{input.keyState ? input.keyState : noKeysHeld};

  steerWithMouse(camera, input, settings);
  latchedKey(keys.held(SDLK_y), input.presses.split, camera.viewer.splitKeyLatch,
             meshKeys.splitEdge);
  latchedKey(keys.held(SDLK_t), input.presses.refine, camera.viewer.refineKeyLatch,
             meshKeys.refineStep);
  setRenderFlags(camera, keys, input.presses.renderFlagKey);

  // Up lowers the nose; Left turns left; End, keypad 1 and d roll x toward y.
  turn(camera.viewer.pitchRate, direction(keys.held(SDLK_UP), -1, keys.held(SDLK_DOWN)), settings,
       dt);
  turn(camera.viewer.yawRate, direction(keys.held(SDLK_LEFT), 1, keys.held(SDLK_RIGHT)), settings,
       dt);
  bool rollOne = keys.held(SDLK_END) || keys.held(SDLK_KP1) || keys.held(SDLK_d);
  bool rollOther = keys.held(SDLK_PAGEDOWN) || keys.held(SDLK_KP3) || keys.held(SDLK_f);
  turn(camera.viewer.rollRate, direction(rollOne, 1, rollOther), settings, dt);

  if (keys.held(SDLK_KP_PLUS) || keys.held(SDLK_a)) thrust(camera, -1.0, dt);
  if (keys.held(SDLK_KP_MINUS) || keys.held(SDLK_s)) thrust(camera, 1.0, dt);
  if (keys.held(SDLK_KP_MULTIPLY))
    camera.viewer.thrustExponent = static_cast<float>(camera.viewer.thrustExponent + dt);
  if (keys.held(SDLK_KP_DIVIDE))
    camera.viewer.thrustExponent = static_cast<float>(camera.viewer.thrustExponent - dt);
  if (keys.held(SDLK_SPACE)) {
    // Three times the thrust, so braking always wins against one thrust key.
    double amount = std::exp(static_cast<double>(camera.viewer.thrustExponent)) * 3.0 * dt;
    shortenVector(camera.viewer.velocity, static_cast<float>(amount));
  }
  if (keys.held(SDLK_c)) out << camera.cameraPose.position << camera.cameraPose.orientation;
  if (keys.held(SDLK_F10) || input.presses.reset) {
    camera.viewer.velocity = {0.0, 0.0, 0.0};
    camera.viewer.thrustExponent = defaultThrustExponent;
  }
  if (keys.held(SDLK_HOME) || input.presses.home) returnHome(camera);

  updateOrientation(camera, dt);
  updatePosition(camera, dt);
}

void returnHome(const CameraState& camera) {
  camera.viewer.velocity = {0.0, 0.0, 0.0};
  camera.viewer.pitchRate = 0.0;
  camera.viewer.yawRate = 0.0;
  camera.viewer.rollRate = 0.0;
  camera.viewer.thrustExponent = defaultThrustExponent;
  camera.cameraPose = startCameraPose;
}

void dampTowardZero(double& value, double step) {
  if (value > step) {
    value -= step;
  } else if (value < -step) {
    value += step;
  } else {
    value = 0.0;
  }
}

void shortenVector(Vector3& v, float amount) {
  double oldLength = length(v);
  if (amount >= oldLength) {
    v = {0.0, 0.0, 0.0};
    return;
  }
  double factor = (oldLength - amount) / oldLength;
  v.x *= factor;
  v.y *= factor;
  v.z *= factor;
}
