#include "app/platform.h"

#include <cerrno>
#include <ctime>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

uint64_t monotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

class SystemTimeSource : public TimeSource {
 public:
  // Truncation to 32 bits is the point: the tick count wraps like the system's.
  uint32_t ticks() override { return static_cast<uint32_t>(monotonicNanoseconds() / 1000000u); }

  void sleepMilliseconds(uint32_t milliseconds) override {
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    // A signal must not shorten the calibration interval.
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
  }

  uint64_t cycles() override {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return monotonicNanoseconds();
#endif
  }
};

}  // namespace

TimeSource& systemTimeSource() {
  static SystemTimeSource source;
  return source;
}
