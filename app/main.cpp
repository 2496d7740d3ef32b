#include <SDL.h>

#include <iostream>

#include "app/globals.h"
#include "startup/start_mesh.h"

int main(int argumentCount, char** arguments) {
  (void)argumentCount;
  (void)arguments;
  std::cout << "start!" << std::endl;
  buildStartMesh(mesh, std::cout);
  // The window, the clock and the main loop come in here.
  std::cout << "sdl_quit" << std::endl;
  SDL_Quit();
  std::cout << "sdl_quit done" << std::endl;
  return 0;
}
