#include "app/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Hand-wound time: every tick read advances one millisecond, so a tick edge is one
// read away; the cycle counter runs at 1 GHz of the same time.
class FakeTime : public TimeSource {
 public:
  explicit FakeTime(uint32_t startMilliseconds) : now(startMilliseconds) {}
  uint32_t ticks() override { return ++now; }
  void sleepMilliseconds(uint32_t milliseconds) override {
    ++sleeps;
    sleptMilliseconds += milliseconds;
    now += milliseconds;
  }
  uint64_t cycles() override { return (static_cast<uint64_t>(wraps) << 32 | now) * 1000000u; }
  void advance(uint32_t milliseconds) { now += milliseconds; }

  uint32_t now;
  uint64_t wraps = 0;
  int sleeps = 0;
  uint32_t sleptMilliseconds = 0;
};

TEST(Clock, ShortCalibrationSleepsOnceThenNeverAgain) {
  FakeTime time(5000);
  Clock clock;
  startCalibration(clock, time);
  time.advance(300);
  finishCalibration(clock, time);
  EXPECT_NEAR(clock.cyclesPerSecond, 1e9, 1.0);

  double first = clockSeconds(clock, time);
  EXPECT_EQ(time.sleeps, 1);
  EXPECT_EQ(time.sleptMilliseconds, 1000u);
  EXPECT_GE(clock.endTick - clock.startTick, 1300);
  EXPECT_NEAR(first, 1.302, 0.005);

  time.advance(250);
  double second = clockSeconds(clock, time);
  EXPECT_EQ(time.sleeps, 1);
  EXPECT_NEAR(second - first, 0.25, 1e-9);
}

TEST(Clock, LongCalibrationNeedsNoSleep) {
  FakeTime time(5000);
  Clock clock;
  startCalibration(clock, time);
  time.advance(800);
  finishCalibration(clock, time);
  clockSeconds(clock, time);
  EXPECT_EQ(time.sleeps, 0);
}

TEST(Clock, FirstUseWithoutCalibrationCalibratesItself) {
  FakeTime time(5000);
  Clock clock;
  double seconds = clockSeconds(clock, time);
  EXPECT_EQ(time.sleeps, 1);
  EXPECT_NE(clock.startTick, 0);
  EXPECT_NEAR(clock.cyclesPerSecond, 1e9, 1.0);
  EXPECT_GE(seconds, 1.0);
  EXPECT_LT(seconds, 1.01);
}

TEST(Clock, TickWrapBetweenTheCalibrationPointsKeepsTheRate) {
  FakeTime time(0xFFFFFF00u);  // wraps 256 ms in
  Clock clock;
  startCalibration(clock, time);
  time.advance(600);
  if (time.now < 0xFFFFFF00u) time.wraps = 1;
  finishCalibration(clock, time);
  EXPECT_NEAR(clock.cyclesPerSecond, 1e9, 1.0);
  clockSeconds(clock, time);
  EXPECT_EQ(time.sleeps, 0);  // 600 ms across the wrap is long enough
}

TEST(FrameTime, RoundsToFloatAndClampsToTheFloatTenth) {
  double last = 1.0;
  EXPECT_EQ(nextFrameTime(1.25, last), 0.10000000149011612);
  EXPECT_EQ(last, 1.25);
  EXPECT_EQ(nextFrameTime(1.30, last), static_cast<double>(static_cast<float>(1.30 - 1.25)));
  EXPECT_EQ(nextFrameTime(std::numeric_limits<double>::quiet_NaN(), last), 0.10000000149011612);
  // No lower bound: a clock that went back gives a negative frame.
  last = 2.0;
  EXPECT_LT(nextFrameTime(1.5, last), 0.0);
}

TEST(FrameTime, FirstFrameCountsFromCalibrationStart) {
  double last = 0.0;
  EXPECT_EQ(nextFrameTime(0.05, last), static_cast<double>(0.05f));
}

}  // namespace
