#pragma once
// Standard output carries what the program is for (the tables at start, each step's
// statistics): a write that fails is said once on standard error, and the exit status shows it.

#include <ostream>

// The status of a run whose standard output could not be written.
constexpr int lostOutputStatus = 1;

struct OutputWatch {
  bool lost = false;  // true once a failed write has been said
};

// Says on `err`, once, that `out` has failed; true when it has.
bool noticeLostOutput(OutputWatch& watch, const std::ostream& out, std::ostream& err);

// The run's exit status as far as its output goes: 0, or lostOutputStatus (said first).
int outputStatus(OutputWatch& watch, const std::ostream& out, std::ostream& err);
