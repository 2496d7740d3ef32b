#include "app/shutdown.h"

#include <SDL.h>

#include <iostream>

int shutDown(OutputWatch& output) {
  std::cout << "sdl_quit" << std::endl;
  SDL_Quit();
  std::cout << "sdl_quit done" << std::endl;
  return outputStatus(output, std::cout, std::cerr);
}
