#include "app/globals.h"

Settings settings = startSettings();
Pose cameraPose = startCameraPose;
bool wireframe = false;
bool cullBackFaces = false;
Viewer viewer;
Mesh mesh;
Refinement refinement;

Clock frameClock;
double lastTime = 0.0;
double frameTime = 0.0;
uint8_t* keyState = nullptr;
