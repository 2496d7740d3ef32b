#include "app/arguments.h"

#include <cstring>

#include "app/usage_text.inc"

namespace {

bool is(const char* argument, const char* option) {
  return std::strcmp(argument, option) == 0;
}

}  // namespace

Request readArguments(int argumentCount, const char* const* arguments) {
  if (argumentCount <= 1) return Request::run;
  if (argumentCount > 2) return Request::refused;
  if (is(arguments[1], "--help")) return Request::help;
  if (is(arguments[1], "--version")) return Request::version;
  return Request::refused;
}

void printUsage(std::ostream& out) {
  out << "Usage: geosandbox [--help | --version]\n"
         "\n"
         "Prints the face frame tables of a unit-edge icosahedron, then shows a Klein\n"
         "bottle turning in four dimensions in a full-screen window. Fly around it and\n"
         "refine the mesh toward the unit sphere with these keys; in the window, F1\n"
         "shows them over the picture:\n"
         "\n"
      << keyTableText << std::flush;
}

void printVersion(std::ostream& out) {
  out << "geosandbox " << programVersion << std::endl;
}

void sayRefused(int argumentCount, const char* const* arguments, std::ostream& err) {
  // Name the first argument that is not understood: with two or more, the second one is.
  const char* first = arguments[1];
  if (argumentCount > 2 && (is(first, "--help") || is(first, "--version"))) first = arguments[2];
  err << "geosandbox: unknown argument '" << first << "' (try 'geosandbox --help')" << std::endl;
}
