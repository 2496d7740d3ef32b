#include "app/output_watch.h"

bool noticeLostOutput(OutputWatch& watch, const std::ostream& out, std::ostream& err) {
  if (!out.fail()) return false;
  if (watch.lost) return true;
  watch.lost = true;
  // The stream stays failed from here on, so nothing more is written to a descriptor that
  // may no longer be the one the run began with.
  err << "geosandbox: standard output cannot be written: what the program prints is lost"
      << std::endl;
  return true;
}

int outputStatus(OutputWatch& watch, const std::ostream& out, std::ostream& err) {
  return noticeLostOutput(watch, out, err) ? lostOutputStatus : 0;
}
