#include <SDL.h>

#include <iostream>

#include "app/arguments.h"
#include "app/clock.h"
#include "app/crash_report.h"
#include "app/globals.h"
#include "app/main_loop.h"
#include "app/output_watch.h"
#include "app/shutdown.h"
#include "app/standard_streams.h"
#include "app/video.h"
#include "startup/start_mesh.h"

namespace {

// --help and --version print, and the run ends there; a refused line ends it with status 2.
int answerArguments(Request request, int argumentCount, char** arguments) {
  if (request == Request::refused) {
    sayRefused(argumentCount, arguments, std::cerr);
    return refusedStatus;
  }
  if (request == Request::help) printUsage(std::cout);
  if (request == Request::version) printVersion(std::cout);
  OutputWatch output;
  return outputStatus(output, std::cout, std::cerr);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  openClosedStandardStreams();
  installCrashReport();
  const Request request = readArguments(argumentCount, arguments);
  if (request != Request::run) return answerArguments(request, argumentCount, arguments);

  OutputWatch output;
  std::cout << "start!" << std::endl;
  // The calibration spans the start-up work; a too short one is stretched later.
  startCalibration(frameClock, systemTimeSource());
  buildStartMesh(mesh, std::cout);
  // The tables are what the start is for: where they were lost, no window opens to hide it.
  if (noticeLostOutput(output, std::cout, std::cerr)) return lostOutputStatus;
  chooseVideoDriver();
  initVideo();
  finishCalibration(frameClock, systemTimeSource());
  runMainLoop(output);
  return shutDown(output);
}
