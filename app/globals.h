#pragma once
// The program's shared state: one object each, alive for the whole run. Tests build
// their own locals and never touch these.

#include "geom/pose.h"
#include "mesh/mesh.h"
#include "mesh/refine.h"
#include "render/settings.h"

extern Settings settings;
extern double frameTime;
extern Pose cameraPose;
extern bool wireframe;
extern bool cullBackFaces;
extern Mesh mesh;
extern Refinement refinement;
