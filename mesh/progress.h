#pragma once
// How far a refinement step is: its passes report the records done of the records due, so a
// step that takes seconds can show it while the window stands still.

#include <cstddef>

class StepProgress {
 public:
  virtual ~StepProgress() = default;
  // `stage` names the pass; called every progressInterval records of it.
  virtual void reached(const char* stage, std::size_t done, std::size_t due) = 0;
  // The passes are over, before the step prints its result.
  virtual void finished() = 0;
};

// A power of two, so the test is a mask; at 7.9 M faces a pass reports about 120 times.
constexpr std::size_t progressInterval = std::size_t{1} << 16;

// Reports `done` of `due` where a progress is given and `done` is a multiple of the interval.
inline void reportProgress(StepProgress* progress, const char* stage, std::size_t done,
                           std::size_t due) {
  if (progress != nullptr && done % progressInterval == 0 && done > 0) {
    progress->reached(stage, done, due);
  }
}
