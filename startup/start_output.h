#pragma once
// The text written at start: the face frame matrices and their inverses as two
// ready-to-paste C++ tables, then the trace of x <- x(1.35 - 0.35x^2).

#include <ostream>

#include "startup/frame_matrix.h"

// Sets precision 18 for the tables and leaves the stream at std::dec, precision 19.
void writeStartOutput(const FaceFrames& frames, std::ostream& out);

// Twenty steps from `start`, stopping early (with the step number and a closing
// line) if x reaches exactly 1. Writes at the stream's current precision.
void writeIterationTrace(double start, std::ostream& out);
