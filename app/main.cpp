#include <SDL.h>

#include <iostream>

#include "app/clock.h"
#include "app/crash_report.h"
#include "app/globals.h"
#include "app/main_loop.h"
#include "app/video.h"
#include "startup/start_mesh.h"

int main(int argumentCount, char** arguments) {
  (void)argumentCount;
  (void)arguments;
  installCrashReport();
  std::cout << "start!" << std::endl;
  // The calibration spans the start-up work; a too short one is stretched later.
  startCalibration(frameClock, systemTimeSource());
  buildStartMesh(mesh, std::cout);
  chooseVideoDriver();
  initVideo();
  finishCalibration(frameClock, systemTimeSource());
  runMainLoop();
  std::cout << "sdl_quit" << std::endl;
  SDL_Quit();
  std::cout << "sdl_quit done" << std::endl;
  return 0;
}
