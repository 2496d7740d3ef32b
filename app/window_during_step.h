#pragma once
// While a refinement step runs, the loop neither draws nor reads the window's events: at each
// report of the step the window shows how far it is, and its events are read by the loop's
// rule, so a request to quit ends the run at once and keys pressed meanwhile act after it.

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "app/events.h"
#include "app/key_presses.h"
#include "app/platform.h"
#include "mesh/progress.h"
#include "render/step_progress.h"

// The passes a long piece of work reports under, in their order: each gets its slot in the bar.
struct PassList {
  const char* const* names;
  int count;
};
constexpr PassList edgeStepPassList = {edgeStepPasses, static_cast<int>(std::size(edgeStepPasses))};

class WindowDuringStep : public StepProgress {
 public:
  // Passes every report on to `line` (the terminal's progress line). Presses go to
  // `nextFrame`; the window's leaving and coming back to `presence`.
  // The bar shows the passes of `passes`; a report under another name shows none.
  WindowDuringStep(StepProgress& line, TimeSource& time, KeyPresses& nextFrame,
                   WindowPresence& presence, PassList passes = edgeStepPassList);
  // Past the first half second, and where the window is in view, shows the bar; then takes
  // the events. On a request to quit it clears the line and ends the run, without returning.
  void reached(const char* pass, std::size_t done, std::size_t due) override;
  // Clears the line and takes the bar off the picture the next frame starts from.
  void finished() override;

 private:
  StepProgress& line_;
  TimeSource& time_;
  KeyPresses& nextFrame_;
  WindowPresence& presence_;
  PassList passes_;
  uint32_t startTick_;
  uint32_t shownTick_ = 0;  // when the bar was last drawn
  StepProgressPicture picture_;
};

// Which of `passes` `pass` is, counted from 0; -1 for another.
int passIndex(const char* pass, PassList passes);
inline int edgeStepPassIndex(const char* pass) {
  return passIndex(pass, edgeStepPassList);
}
