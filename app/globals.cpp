#include "app/globals.h"

#include <cmath>

#include "app/video.h"

// One translation unit, so the run-time initialises these in the order written: the
// thrust exponent copies its default, so the default must come first.
Settings settings = startSettings();
float defaultThrustExponent = std::log(1.0f);
CameraState camera = startCameraState(defaultThrustExponent);
Mesh mesh;
Refinement refinement;

Clock frameClock;
double lastTime = 0.0;
double frameTime = 0.0;
uint8_t* keyState = nullptr;
SDL_Surface* videoSurface = nullptr;
