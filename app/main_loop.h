#pragma once
// The interactive loop: drain the events, time the frame, run the input step and
// render, until a quit event or Escape.

#include "app/output_watch.h"

// Returns when the run ends, or ends the process itself where the user quits during a
// refinement step. A failed write to standard output is said on standard error once.
void runMainLoop(OutputWatch& output);
