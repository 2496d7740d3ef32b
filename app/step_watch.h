#pragma once
// While a refinement step runs, the loop cannot read the window's events: between the step's
// reports this reads them, so a request to quit ends the run at once and the keys pressed
// meanwhile act in the frame after the step.

#include <cstddef>
#include <functional>

#include "app/key_presses.h"
#include "mesh/progress.h"

class StepWatch : public StepProgress {
 public:
  // Passes every report on to `shown`; on Escape, a quit event (closing the window, Ctrl-C,
  // SIGTERM) it clears `shown`'s line and calls `quit`, which does not return.
  StepWatch(StepProgress& shown, KeyPresses& nextFrame, std::function<void()> quit);
  void reached(const char* pass, std::size_t done, std::size_t due) override;
  void finished() override;

 private:
  StepProgress& shown_;
  KeyPresses& nextFrame_;
  std::function<void()> quit_;
};
