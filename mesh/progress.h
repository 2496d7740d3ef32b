#pragma once
// How far a refinement step is: its passes report the records done of the records due, so a
// step that takes seconds can show it while the window stands still.

#include <cstddef>

class StepProgress {
 public:
  virtual ~StepProgress() = default;
  // `pass` names the pass; called every progressInterval records of it.
  virtual void reached(const char* pass, std::size_t done, std::size_t due) = 0;
  // The passes that report are over: called before anything else is written, a fault the
  // literal walks print or the step's result, and so possibly twice in one step.
  virtual void finished() = 0;
};

// The passes that report, by the names they report under.
constexpr const char* reservingPass = "reserving memory";
constexpr const char* edgeSplitPass = "splitting edges";
constexpr const char* faceLoopPass = "checking face loops";
constexpr const char* vertexLoopPass = "checking vertex loops";

// The passes of a step that splits edges, in the order they run; a view of the progress can
// give each its own part.
constexpr const char* edgeStepPasses[] = {reservingPass, edgeSplitPass, faceLoopPass,
                                          vertexLoopPass};

// A power of two, so the test is a mask. At step 18 (7.9 M faces) the face pass reports 120
// times, the vertex pass 60 and the edge splits 30.
constexpr std::size_t progressInterval = std::size_t{1} << 16;

// Reports `done` of `due` where a progress is given and `done` is a multiple of the interval.
inline void reportProgress(StepProgress* progress, const char* pass, std::size_t done,
                           std::size_t due) {
  if (progress != nullptr && done % progressInterval == 0 && done > 0) {
    progress->reached(pass, done, due);
  }
}
