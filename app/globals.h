#pragma once
// The program's shared state: one object each, alive for the whole run. Tests build
// their own locals and never touch these.

#include <cstdint>

#include "app/camera.h"
#include "app/clock.h"
#include "mesh/mesh.h"
#include "mesh/refine.h"
#include "render/settings.h"

extern Settings settings;
extern float defaultThrustExponent;  // restored by F10
extern CameraState camera;           // the viewer, its turn rates, render flags and key latches
extern Mesh mesh;
extern Refinement refinement;
extern Clock frameClock;
extern double lastTime;     // clockSeconds at the previous frame; 0.0 before the first
extern double frameTime;    // seconds, at most 0.1
extern uint8_t* keyState;   // SDL's key-state array; null until the loop fetched it
