#include "app/globals.h"

// One translation unit, so the run-time initialises these in the order written.
Settings settings = startSettings();
double frameTime = 0.0;
bool wireframe = false;
bool cullBackFaces = false;
Pose cameraPose = {{1.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};
Mesh mesh;
Refinement refinement;
