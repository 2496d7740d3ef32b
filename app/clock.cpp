#include "app/clock.h"

namespace {

int64_t tickAfterEdge(TimeSource& time) {
  uint32_t first = time.ticks();
  uint32_t next = time.ticks();
  while (next == first) next = time.ticks();
  return static_cast<int64_t>(next);
}

// The tick is 32 bits wide and may wrap between the two points; counting modulo
// 2^32 keeps the interval right instead of negative or about 49 days long.
int64_t ticksBetween(int64_t start, int64_t end) {
  return static_cast<uint32_t>(static_cast<uint32_t>(end) - static_cast<uint32_t>(start));
}

bool calibrationTooShort(const Clock& clock) {
  if (clock.endTick == -1) return true;
  return ticksBetween(clock.startTick, clock.endTick) < 500;
}

}  // namespace

void startCalibration(Clock& clock, TimeSource& time) {
  clock.startTick = tickAfterEdge(time);
  clock.startCycles = static_cast<int64_t>(time.cycles());
}

void finishCalibration(Clock& clock, TimeSource& time) {
  clock.endTick = tickAfterEdge(time);
  clock.endCycles = static_cast<int64_t>(time.cycles());
  long double cycles = static_cast<long double>(clock.endCycles - clock.startCycles);
  long double ticks = static_cast<long double>(ticksBetween(clock.startTick, clock.endTick));
  clock.cyclesPerSecond = static_cast<double>(cycles * 1000.0L / ticks);
}

double clockSeconds(Clock& clock, TimeSource& time) {
  if (clock.cyclesPerSecond == 0.0 || clock.startTick == 0) {
    clock.endTick = -1;
    startCalibration(clock, time);
  }
  if (calibrationTooShort(clock)) {
    time.sleepMilliseconds(1000);
    finishCalibration(clock, time);
  }
  int64_t elapsed = static_cast<int64_t>(time.cycles()) - clock.startCycles;
  return static_cast<double>(elapsed) / clock.cyclesPerSecond;
}

double nextFrameTime(double now, double& lastTime) {
  float duration = static_cast<float>(now - lastTime);
  lastTime = now;
  // Written so that a not-a-number duration fails the test and takes the limit.
  if (duration <= 0.1f) return duration;
  return 0.1f;
}
