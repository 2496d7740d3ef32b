#pragma once
// The line on standard error that says how far a long refinement step is: shown where that
// is a terminal, once the step has run for half a second, rewritten in place, then cleared.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "app/platform.h"
#include "mesh/progress.h"

// A step shows how far it is only once it has run this long: on the 2-core machine the step
// times were measured on, every step up to 17 (0.4 s) shows nothing and step 18 (0.8 s) does.
constexpr uint32_t quietMilliseconds = 500;

// Whether a step that started at `startTick` shows its progress at `now` (unsigned
// difference: right across the tick's wrap).
inline bool pastQuietStart(uint32_t startTick, uint32_t now) {
  return now - startTick >= quietMilliseconds;
}

// "refining: splitting edges 45%": whole per cent, rounded down, so 100% means done.
std::string progressText(const char* pass, std::size_t done, std::size_t due);

class ProgressLine : public StepProgress {
 public:
  // The step starts now, by `time`'s tick; nothing is written where `isTerminal` is false.
  ProgressLine(std::ostream& terminal, bool isTerminal, TimeSource& time);
  void reached(const char* pass, std::size_t done, std::size_t due) override;
  // Clears the line, if one was shown, so the step's result starts at the line's start.
  void finished() override;

 private:
  std::ostream& terminal_;
  bool isTerminal_;
  TimeSource& time_;
  uint32_t startTick_;
  std::string shown_;  // the text on the line now; empty when there is none
};
