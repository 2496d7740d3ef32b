#include "app/window_during_step.h"

#include <cstring>

#include "app/globals.h"
#include "app/progress_line.h"
#include "app/run_end.h"
#include "app/video.h"

namespace {

// A frame of software GL takes a few milliseconds; the bar is drawn again at most this often,
// so showing it costs the step little.
constexpr uint32_t barMilliseconds = 100;

}  // namespace

int passIndex(const char* pass, PassList passes) {
  for (int index = 0; index < passes.count; ++index) {
    if (std::strcmp(pass, passes.names[index]) == 0) return index;
  }
  return -1;
}

WindowDuringStep::WindowDuringStep(StepProgress& line, TimeSource& time, KeyPresses& nextFrame,
                                   WindowPresence& presence, PassList passes)
    : line_(line),
      time_(time),
      nextFrame_(nextFrame),
      presence_(presence),
      passes_(passes),
      startTick_(time.ticks()) {}

void WindowDuringStep::reached(const char* pass, std::size_t done, std::size_t due) {
  line_.reached(pass, done, due);
  const uint32_t now = time_.ticks();
  const int index = passIndex(pass, passes_);
  const bool barDue = !picture_.shown || now - shownTick_ >= barMilliseconds;
  if (!presence_.hidden && index >= 0 && barDue && pastQuietStart(startTick_, now)) {
    const double fraction = due == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(due);
    showStepProgress(
        settings, trailImage,
        progressBar(settings.windowWidth, settings.windowHeight, passes_.count, index, fraction),
        picture_, swapVideoBuffers);
    shownTick_ = now;
  }
  if (!takeEvents(EventTime::step, nextFrame_, presence_)) return;
  line_.finished();
  endRun();
}

void WindowDuringStep::finished() {
  line_.finished();
  endStepProgress(settings, trailImage, picture_);
}
