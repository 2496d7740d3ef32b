#pragma once
// The command line: no argument runs the program; --help and --version answer and end the run
// before anything else happens; anything else is refused on one line.

#include <ostream>

enum class Request { run, help, version, refused };

Request readArguments(int argumentCount, const char* const* arguments);

// The usage with the table of keys, and the version line, on `out`.
void printUsage(std::ostream& out);
void printVersion(std::ostream& out);

// The one line on `err` for a refused command line.
void sayRefused(int argumentCount, const char* const* arguments, std::ostream& err);
