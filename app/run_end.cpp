#include "app/run_end.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace {

// The slot in every stream's own storage where the program notes that the stream's loss
// was said; the same slot for the process's life.
int lossSaidSlot() {
  static const int slot = std::ios_base::xalloc();
  return slot;
}

}  // namespace

bool noticeLostOutput(std::ostream& out, std::ostream& err) {
  if (!out.fail()) return false;
  long& said = out.iword(lossSaidSlot());
  if (said != 0) return true;
  said = 1;
  // The stream stays failed from here on, so nothing more is written to a descriptor that
  // may no longer be the one the run began with.
  err << "geosandbox: standard output cannot be written: what the program prints is lost"
      << std::endl;
  return true;
}

void endProcess(ExitStatus status) {
  if (noticeLostOutput(std::cout, std::cerr) && status == ranToEnd) status = outputLost;
  std::exit(status);
}

void quitSdl() {
  SDL_Quit();
}

void endRun() {
  std::cout << "sdl_quit" << std::endl;
  quitSdl();
  std::cout << "sdl_quit done" << std::endl;
  endProcess(ranToEnd);
}

void endWithoutVideo(const char* message, const std::string& advice) {
  std::cout << message << std::endl;
  // Standard output carries only the fixed message; the cause goes to standard error.
  const char* cause = SDL_GetError();
  if (cause && *cause) std::cerr << "SDL: " << cause << std::endl;
  std::cerr << advice << std::flush;
  quitSdl();
  endProcess(noVideoMode);
}

void endAfterXError(ExitStatus status, const std::string& line) {
  std::cerr << line << std::flush;
  quitSdl();
  endProcess(status);
}

void endWithoutDisplay() {
  std::cerr << "geosandbox: the connection to the X server was lost (it ended, or the display "
               "was closed)"
            << std::endl;
  // Everything written to standard output went with a flush; the exit handlers would call
  // into SDL and Xlib on the dead connection.
  _exit(displayLost);
}
