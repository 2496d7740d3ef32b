#pragma once
// The frame clock: the cycle counter, its rate measured once against the
// millisecond tick, giving seconds since the calibration started.

#include <cstdint>

#include "app/platform.h"

struct Clock {
  int64_t startTick = 0;         // tick at calibration start; 0 means not started
  int64_t startCycles = 0;       // cycle counter at calibration start
  int64_t endTick = 0;           // tick at calibration end; -1 while a new end is pending
  int64_t endCycles = 0;         // cycle counter at calibration end
  double cyclesPerSecond = 0.0;  // 0.0 until calibrated
};

// Both points are taken right after a tick edge, so each tick value is exact.
void startCalibration(Clock& clock, TimeSource& time);
void finishCalibration(Clock& clock, TimeSource& time);

// Seconds since calibration start. Calibrates first if that never happened, and
// stretches an interval shorter than 500 ms by one 1000 ms sleep, once.
double clockSeconds(Clock& clock, TimeSource& time);

// The duration since `lastTime`, rounded to a float and clamped to the float 0.1
// (not-a-number too), so a stall never moves anything by more than 0.1 s.
double nextFrameTime(double now, double& lastTime);
