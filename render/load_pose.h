#pragma once
// Hands a pose to OpenGL as the model-view matrix (replacing it).

#include "geom/pose.h"

void loadPose(const Pose& pose);
