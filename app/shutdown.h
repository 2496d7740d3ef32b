#pragma once
// The end of a run that reached its window, after the loop or from inside a refinement step:
// the closing lines, SDL_Quit, and the exit status.

#include "app/output_watch.h"

// Returns 0, or lostOutputStatus where standard output failed at some point.
int shutDown(OutputWatch& output);
