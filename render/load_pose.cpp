#include "render/load_pose.h"

#include <GL/gl.h>

void loadPose(const Pose& pose) {
  double matrix[16];
  poseMatrixColumnMajor(pose, matrix);
  glLoadMatrixd(matrix);
}
