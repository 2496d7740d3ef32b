#include "app/globals.h"

#include <cmath>

#include "app/video.h"

// One translation unit, so the run-time initialises these in the order written: the
// thrust exponent copies its default, so the default must come first.
Settings settings = startSettings();
float defaultThrustExponent = std::log(1.0f);
Pose cameraPose = startCameraPose;
Vector3 cameraVelocity = {0.0, 0.0, 0.0};
double pitchRate = 0.0;
double yawRate = 0.0;
double rollRate = 0.0;
float thrustExponent = defaultThrustExponent;
int32_t mouseX = 0;
int32_t mouseY = 0;
bool wireframe = false;
bool cullBackFaces = false;
bool splitKeyLatch = false;
bool refineKeyLatch = false;
Mesh mesh;
Refinement refinement;

Clock frameClock;
double lastTime = 0.0;
double frameTime = 0.0;
uint8_t* keyState = nullptr;
SDL_Surface* videoSurface = nullptr;
