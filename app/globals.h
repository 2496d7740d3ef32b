#pragma once
// The program's shared state: one object each, alive for the whole run. Tests build
// their own locals and never touch these.

#include <cstdint>

#include "app/camera.h"
#include "app/clock.h"
#include "geom/pose.h"
#include "geom/vector.h"
#include "mesh/mesh.h"
#include "mesh/refine.h"
#include "render/settings.h"

extern Settings settings;
// The viewer's pose and the render flags, which the renderer reads; the input step's
// own state (turn rates, thrust, velocity, pointer, key latches).
extern Pose cameraPose;
extern bool wireframe;
extern bool cullBackFaces;
extern Viewer viewer;
extern Mesh mesh;
extern Refinement refinement;
extern Clock frameClock;
extern double lastTime;    // clockSeconds at the previous frame; 0.0 before the first
extern double frameTime;   // seconds, at most 0.1
extern uint8_t* keyState;  // SDL's key-state array; null until the loop fetched it
