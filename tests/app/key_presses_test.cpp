#include "app/key_presses.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// held | presses | latch before | actions | latch after
struct LatchCase {
  bool held;
  int presses;
  bool latchBefore;
  int actions;
  bool latchAfter;
};

TEST(KeyPresses, LatchActsOncePerPressHeldOrTapped) {
  const std::vector<LatchCase> cases = {
      {true, 0, false, 1, true},    // found held, never fired: the old rule
      {true, 0, true, 0, true},     // still held: nothing more
      {false, 1, false, 1, false},  // a tap over before the frame
      {true, 1, true, 1, true},     // released and pressed again within one frame
      {false, 2, false, 2, false},  // two taps in one frame
      {false, 0, true, 0, false},   // released
  };
  for (const LatchCase& c : cases) {
    bool latch = c.latchBefore;
    EXPECT_EQ(latchedPresses(c.held, c.presses, latch), c.actions)
        << c.held << " " << c.presses << " " << c.latchBefore;
    EXPECT_EQ(latch, c.latchAfter);
  }
}

}  // namespace
