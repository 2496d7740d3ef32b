#include "app/camera.h"

#include <SDL_keysym.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <vector>

namespace {

// Locals standing in for the program's camera globals, with their start values.
struct Rig {
  Settings settings = startSettings();
  Viewer viewer;
  Pose cameraPose = startCameraPose;
  bool wireframe = false;
  bool cullBackFaces = false;
  CameraState camera{viewer, cameraPose, wireframe, cullBackFaces};
  std::array<uint8_t, SDLK_LAST> keys{};
  CameraInput input{keys.data(), 0, 0, 0};
  int splits = 0;
  int refinements = 0;
  MeshKeys meshKeys{[this] { ++splits; }, [this] { ++refinements; }};
  std::ostringstream out;

  Rig() = default;
  Rig(const Rig&) = delete;  // the view and the key callbacks point into this rig
  Rig& operator=(const Rig&) = delete;

  void frame(double dt) { updateCamera(camera, input, settings, dt, meshKeys, out); }
  void hold(SDLKey key) { keys[key] = 1; }
  void release(SDLKey key) { keys[key] = 0; }
};

TEST(Camera, RestingViewerDriftsAtConstantVelocity) {
  Rig rig;
  rig.viewer.velocity = {1.0, -2.0, 0.5};
  rig.frame(0.1);
  rig.frame(0.1);
  EXPECT_EQ(rig.cameraPose.orientation.w, 1.0);
  EXPECT_EQ(rig.cameraPose.orientation.x, 0.0);
  EXPECT_NEAR(rig.cameraPose.position.x, 0.2, 1e-15);
  EXPECT_NEAR(rig.cameraPose.position.y, -0.4, 1e-15);
  EXPECT_EQ(rig.viewer.velocity.z, 0.5);
  EXPECT_TRUE(rig.out.str().empty());
}

TEST(Camera, UpArrowLowersTheNose) {
  Rig rig;
  rig.hold(SDLK_UP);
  rig.frame(0.1);
  EXPECT_NEAR(rig.viewer.pitchRate, -0.10471976, 1e-8);
  // Rotation angle about x is 2 * atan2(x, w).
  const Quaternion& q = rig.cameraPose.orientation;
  EXPECT_NEAR(2 * std::atan2(q.x, q.w), -0.0104719, 1e-6);
  EXPECT_EQ(q.y, 0.0);
  EXPECT_NEAR(q.w * q.w + q.x * q.x, 1.0, 1e-15);
}

TEST(Camera, FirstKeyOfAPairWinsAndReleasedRatesDampToExactlyZero) {
  Rig rig;
  rig.hold(SDLK_UP);
  rig.hold(SDLK_DOWN);
  rig.hold(SDLK_LEFT);
  rig.hold(SDLK_RIGHT);
  rig.hold(SDLK_d);
  rig.hold(SDLK_f);
  rig.frame(0.1);
  EXPECT_LT(rig.viewer.pitchRate, 0.0);
  EXPECT_GT(rig.viewer.yawRate, 0.0);
  EXPECT_GT(rig.viewer.rollRate, 0.0);

  Rig damped;
  damped.viewer.yawRate = 0.05;
  damped.viewer.rollRate = -0.5;
  damped.frame(0.1);
  EXPECT_EQ(damped.viewer.yawRate, 0.0);
  EXPECT_NEAR(damped.viewer.rollRate, -0.5 + 0.10471976, 1e-8);
}

TEST(Camera, MouseSteeringIsSetByTheOffsetFromTheCentre) {
  Rig centre;
  centre.input.mouseButtons = 1;
  centre.input.mouseX = 512;
  centre.input.mouseY = 384;
  centre.frame(0.1);
  EXPECT_EQ(centre.viewer.yawRate, 0.0);
  EXPECT_EQ(centre.viewer.pitchRate, 0.0);

  // The yaw step of the same call damps the mouse-set rate.
  Rig right;
  right.input = {right.keys.data(), 1, 1023, 384};
  right.frame(0.0);
  EXPECT_EQ(right.viewer.yawRate, -(2 * 511 / 768.1) * right.settings.mouseTurnRate);
  EXPECT_EQ(right.viewer.mouseX, 1023);
  right.frame(0.1);
  EXPECT_NEAR(right.viewer.yawRate, -(2 * 511 / 768.1) * 0.6981317 + 0.10471976, 1e-7);

  // Without the button the pointer is recorded but steers nothing.
  Rig released;
  released.input = {released.keys.data(), 0, 0, 0};
  released.frame(0.1);
  EXPECT_EQ(released.viewer.yawRate, 0.0);
}

TEST(Camera, RenderFlagsFollowTheLastHeldKey) {
  Rig rig;
  rig.hold(SDLK_1);
  rig.hold(SDLK_3);
  rig.frame(0.1);
  EXPECT_TRUE(rig.wireframe);
  EXPECT_FALSE(rig.cullBackFaces);
  rig.release(SDLK_3);
  rig.frame(0.1);
  EXPECT_FALSE(rig.wireframe);
  EXPECT_TRUE(rig.cullBackFaces);
  rig.release(SDLK_1);
  rig.frame(0.1);  // flags stay when the keys are released
  EXPECT_TRUE(rig.cullBackFaces);
}

TEST(Camera, MeshKeysFireOncePerPress) {
  Rig rig;
  rig.hold(SDLK_y);
  for (int i = 0; i < 50; ++i) rig.frame(0.01);
  EXPECT_EQ(rig.splits, 1);
  rig.release(SDLK_y);
  rig.frame(0.01);
  rig.hold(SDLK_y);
  rig.hold(SDLK_t);
  rig.frame(0.01);
  rig.frame(0.01);
  EXPECT_EQ(rig.splits, 2);
  EXPECT_EQ(rig.refinements, 1);
}

TEST(Camera, NoKeyStateYetMeansNothingHeld) {
  Rig rig;
  rig.viewer.splitKeyLatch = true;
  rig.viewer.pitchRate = 1.0;
  rig.input.keyState = nullptr;
  rig.frame(0.1);
  EXPECT_FALSE(rig.viewer.splitKeyLatch);
  EXPECT_NEAR(rig.viewer.pitchRate, 1.0 - 0.10471976, 1e-8);
}

TEST(Camera, ThrustFollowsTheViewAndItsMagnitude) {
  Rig rig;
  rig.hold(SDLK_a);
  rig.frame(0.1);
  EXPECT_NEAR(rig.viewer.velocity.z, -0.1, 1e-15);
  rig.hold(SDLK_s);
  rig.frame(0.1);  // both held cancel
  EXPECT_NEAR(rig.viewer.velocity.z, -0.1, 1e-15);
  rig.release(SDLK_a);
  rig.release(SDLK_s);

  rig.hold(SDLK_KP_MULTIPLY);
  for (int i = 0; i < 10; ++i) rig.frame(0.1);
  EXPECT_NEAR(rig.viewer.thrustExponent, 1.0f, 1e-6);

  // After a quarter turn left the camera's -z is world -x.
  Rig turned;
  turned.cameraPose.orientation = {std::sqrt(0.5), 0.0, std::sqrt(0.5), 0.0};
  turned.hold(SDLK_a);
  turned.frame(0.1);
  EXPECT_NEAR(turned.viewer.velocity.x, -0.1, 1e-12);
  EXPECT_NEAR(turned.viewer.velocity.z, 0.0, 1e-12);
}

TEST(Camera, BrakeStopsShortVelocityAndShortensLongOne) {
  Rig rig;
  rig.viewer.velocity = {0.1, 0.0, 0.2};
  rig.hold(SDLK_SPACE);
  rig.frame(0.1);  // braking amount 0.3 exceeds |v| ~ 0.224
  EXPECT_EQ(rig.viewer.velocity.x, 0.0);
  EXPECT_EQ(rig.viewer.velocity.z, 0.0);

  Vector3 v = {3.0, 0.0, 4.0};
  shortenVector(v, 1.0f);
  EXPECT_NEAR(v.x, 2.4, 1e-15);
  EXPECT_NEAR(v.z, 3.2, 1e-15);
  shortenVector(v, 4.0f);  // exactly the length
  EXPECT_EQ(v.x, 0.0);
}

TEST(Camera, F10StopsAndRestoresThrustButKeepsTurning) {
  Rig rig;
  rig.viewer.velocity = {1.0, 1.0, 1.0};
  rig.viewer.thrustExponent = 2.5f;
  rig.viewer.rollRate = 1.0;
  rig.hold(SDLK_d);
  rig.hold(SDLK_F10);
  rig.frame(0.1);
  EXPECT_EQ(rig.viewer.velocity.x, 0.0);
  EXPECT_EQ(rig.viewer.thrustExponent, 0.0f);
  EXPECT_GT(rig.viewer.rollRate, 1.0);
  EXPECT_GT(std::fabs(rig.cameraPose.orientation.z), 0.0);
}

// Turned, thrusting away and braked once, the viewer is lost in the dark; Home, held or only
// tapped, brings it back to where it started, at rest, even against the mouse's steering. The
// keys' latches stay as the keys are.
TEST(Camera, HomeReturnsToTheStartAtRest) {
  for (const bool tapped : {false, true}) {
    Rig rig;
    for (const SDLKey key : {SDLK_UP, SDLK_LEFT, SDLK_a, SDLK_SPACE, SDLK_t}) {
      rig.hold(key);
      for (int frame = 0; frame < (key == SDLK_SPACE ? 1 : 10); ++frame) rig.frame(0.1);
      rig.release(key);
    }
    rig.hold(SDLK_t);
    rig.viewer.thrustExponent = 1.5f;
    rig.input.mouseButtons = 1;
    rig.input.presses.home = tapped;
    if (!tapped) rig.hold(SDLK_HOME);
    rig.frame(0.1);
    const Pose& pose = rig.cameraPose;
    EXPECT_EQ(std::vector<double>({pose.orientation.w, pose.orientation.x, pose.orientation.y,
                                   pose.orientation.z, pose.position.x, pose.position.y,
                                   pose.position.z, length(rig.viewer.velocity),
                                   rig.viewer.pitchRate, rig.viewer.yawRate, rig.viewer.rollRate}),
              std::vector<double>({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.viewer.thrustExponent, defaultThrustExponent);
    EXPECT_TRUE(rig.viewer.refineKeyLatch);
    EXPECT_EQ(rig.refinements, 1);
  }
}

TEST(Camera, CPrintsThePoseEveryFrameWhileHeld) {
  Rig rig;
  rig.hold(SDLK_c);
  rig.frame(0.1);
  rig.frame(0.1);
  EXPECT_EQ(rig.out.str(),
            "vector:\n[0,\t0,\t0]\nQuaternion:\n[1,\t0,\t0,\t0]\n"
            "vector:\n[0,\t0,\t0]\nQuaternion:\n[1,\t0,\t0,\t0]\n");
}

TEST(Camera, Damping) {
  double value = -0.3;
  dampTowardZero(value, 0.1);
  EXPECT_NEAR(value, -0.2, 1e-15);
  dampTowardZero(value, 0.2);
  EXPECT_EQ(value, 0.0);
}

TEST(Camera, PressesActWithoutTheKeyHeld) {
  Rig rig;
  rig.input.presses.refine = 2;
  rig.input.presses.split = 1;
  rig.input.presses.renderFlagKey = SDLK_2;
  rig.input.presses.reset = true;
  rig.viewer.velocity = {1.0, 0.0, 0.0};
  rig.frame(0.1);
  EXPECT_EQ(rig.refinements, 2);
  EXPECT_EQ(rig.splits, 1);
  EXPECT_TRUE(rig.wireframe);
  EXPECT_TRUE(rig.cullBackFaces);
  EXPECT_EQ(rig.viewer.velocity.x, 0.0);
  EXPECT_FALSE(rig.viewer.refineKeyLatch);

  // A key pressed this frame wins over a held one, whichever the held order favours.
  Rig both;
  both.hold(SDLK_3);
  both.input.presses.renderFlagKey = SDLK_1;
  both.frame(0.1);
  EXPECT_FALSE(both.wireframe);
  EXPECT_TRUE(both.cullBackFaces);
}

}  // namespace
