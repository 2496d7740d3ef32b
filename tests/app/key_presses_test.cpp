#include "app/key_presses.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(KeyPresses, EveryPressCountsButDuringAStepOnce) {
  KeyPresses presses;
  for (int i = 0; i < 3; ++i) notePress(presses, SDLK_t, false);
  notePress(presses, SDLK_y, false);
  EXPECT_EQ(presses.refine, 3);
  EXPECT_EQ(presses.split, 1);

  KeyPresses duringStep;
  for (int i = 0; i < 3; ++i) {
    notePress(duringStep, SDLK_t, true);
    notePress(duringStep, SDLK_y, true);
  }
  EXPECT_EQ(duringStep.refine, 1);
  EXPECT_EQ(duringStep.split, 1);
}

TEST(KeyPresses, LastRenderKeyWinsAndOtherKeysAreNoted) {
  KeyPresses presses;
  for (SDLKey key : {SDLK_3, SDLK_1, SDLK_a, SDLK_UP}) notePress(presses, key, false);
  EXPECT_EQ(presses.renderFlagKey, SDLK_1);
  EXPECT_FALSE(presses.reset);
  EXPECT_FALSE(presses.quit);
  notePress(presses, SDLK_F10, true);
  notePress(presses, SDLK_ESCAPE, true);
  EXPECT_TRUE(presses.reset);
  EXPECT_TRUE(presses.quit);
  EXPECT_EQ(presses.refine + presses.split, 0);
}

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
