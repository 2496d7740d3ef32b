#pragma once
// How a run ends: the exit statuses, each meaning one thing and each listed in the manual
// page, and the ways out, every one of which goes through this module or dies by a signal.

#include <ostream>
#include <string>

enum ExitStatus : int {
  ranToEnd = 0,
  outputLost = 1,         // standard output could not be written; said on standard error
  noVideoMode = 2,        // no OpenGL window: at start, after a resize or after F11
  displayLost = 3,        // the connection to the X server broke
  windowLost = 4,         // another program destroyed the window
  xRequestRefused = 5,    // the X server refused a request the run cannot go on without
  unknownArguments = 64,  // a command line other than none, --help or --version
};
// Every status of the enum, for the test that finds each in the manual page.
constexpr ExitStatus exitStatuses[] = {ranToEnd,   outputLost,      noVideoMode,     displayLost,
                                       windowLost, xRequestRefused, unknownArguments};
// A signal the program does not handle itself ends it with 128 + the signal's number, as the
// shell reports it: Ctrl-C (130) and SIGTERM (143) while the window opens, and the crashes
// the crash report names (SIGSEGV 139, SIGABRT 134, ...).

// Says on `err`, once for the stream's life, that `out` has failed; true when it has. The
// stream keeps both: its failed state, and in its own storage that the loss was said.
bool noticeLostOutput(std::ostream& out, std::ostream& err);

// Ends the process with `status`, or with outputLost where that is ranToEnd and standard
// output failed at some point (said first, once).
[[noreturn]] void endProcess(ExitStatus status);

// The orderly end of a run whose window was open: "sdl_quit", SDL_Quit, "sdl_quit done".
[[noreturn]] void endRun();

// No window with OpenGL: `message` on standard output, SDL's reason and `advice` (what to
// check, lines with their newlines) on standard error, SDL_Quit, noVideoMode.
[[noreturn]] void endWithoutVideo(const char* message, const std::string& advice);

// The X server refused a request, or the window is gone: `line` (with its newline) on
// standard error, SDL_Quit, `status`.
[[noreturn]] void endAfterXError(ExitStatus status, const std::string& line);

// SDL_Quit, its one call: the run's ends and the crash report's restore of the desktop.
void quitSdl();

// The X server is gone: one line on standard error and displayLost, without SDL_Quit, whose
// calls on the broken connection would only fail again.
[[noreturn]] void endWithoutDisplay();
