#pragma once
// The two time sources of the clock and the sleep it needs while calibrating,
// behind an interface so the clock's tests can run on a fake, hand-wound time.

#include <cstdint>

class TimeSource {
 public:
  virtual ~TimeSource() = default;
  virtual uint32_t ticks() = 0;  // milliseconds, wraps after about 49.7 days
  virtual void sleepMilliseconds(uint32_t milliseconds) = 0;
  virtual uint64_t cycles() = 0;  // fast counter of constant rate, read once per frame
};

// The machine's own sources: a monotonic millisecond tick and the time-stamp
// counter (a monotonic nanosecond count where there is none).
TimeSource& systemTimeSource();
