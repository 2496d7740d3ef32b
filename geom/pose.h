#pragma once
// The viewer's rigid pose (orientation, then position) and the two steps that turn
// it into OpenGL's model-view matrix; render/frame makes the GL call.

#include "geom/matrix.h"
#include "geom/vector.h"

struct Pose {
  Quaternion orientation;  // camera to world
  Vector3 position;
};

// Negating the scalar part gives the inverse rotation; the position is carried
// through it and negated.
Pose inversePose(const Pose& pose);

// The 4x4 matrix of the pose (R(q) with last column (p, 1)) in OpenGL's
// column-major order, ready for glLoadMatrixd.
void poseMatrixColumnMajor(const Pose& pose, double (&out)[16]);
