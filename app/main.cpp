#include <SDL.h>

#include <iostream>

#include "app/arguments.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/main_loop.h"
#include "app/run_end.h"
#include "app/signals.h"
#include "app/standard_streams.h"
#include "app/video.h"
#include "app/video_environment.h"
#include "app/xlib.h"
#include "startup/start_mesh.h"

namespace {

// --help and --version print, and the run ends there; a refused line ends it too.
[[noreturn]] void answerArguments(Request request, int argumentCount, char** arguments) {
  if (request == Request::refused) {
    sayRefused(argumentCount, arguments, std::cerr);
    endProcess(unknownArguments);
  }
  if (request == Request::help) printUsage(std::cout);
  if (request == Request::version) printVersion(std::cout);
  endProcess(ranToEnd);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  openClosedStandardStreams();
  installCrashReport(restoreScreenMode);
  ignoreBrokenPipes();
  const Request request = readArguments(argumentCount, arguments);
  if (request != Request::run) answerArguments(request, argumentCount, arguments);

  std::cout << "start!" << std::endl;
  // The calibration spans the start-up work; a too short one is stretched later.
  startCalibration(frameClock, systemTimeSource());
  buildStartMesh(mesh, std::cout);
  // The tables are what the start is for: where they were lost, no window opens to hide it.
  if (noticeLostOutput(std::cout, std::cerr)) endProcess(outputLost);
  applyVideoEnvironment();
  installXlibHandlers();
  initVideo();
  finishCalibration(frameClock, systemTimeSource());
  runMainLoop();
  endRun();
}
