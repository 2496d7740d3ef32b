#include "app/run_end.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace {

TEST(RunEnd, AFailedStreamIsSaidOnce) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_FALSE(noticeLostOutput(out, err));
  out.setstate(std::ios::badbit);
  EXPECT_TRUE(noticeLostOutput(out, err));
  EXPECT_TRUE(noticeLostOutput(out, err));
  EXPECT_EQ(err.str(),
            "geosandbox: standard output cannot be written: what the program prints is lost\n");
}

// Each way out in a child process: the status it ends with, and what standard error says.
TEST(RunEnd, EachWayOutHasItsOwnStatus) {
  const auto loseOutput = [] { std::cout.setstate(std::ios::badbit); };
  EXPECT_EXIT(endProcess(ranToEnd), testing::ExitedWithCode(0), "^$");
  EXPECT_EXIT((loseOutput(), endProcess(ranToEnd)), testing::ExitedWithCode(outputLost),
              "standard output cannot be written");
  // A lost output does not hide why the run ended otherwise.
  EXPECT_EXIT((loseOutput(), endProcess(noVideoMode)), testing::ExitedWithCode(noVideoMode),
              "standard output cannot be written");
  EXPECT_EXIT(endAfterXError(windowLost, "gone\n"), testing::ExitedWithCode(windowLost),
              "^gone\n$");
  EXPECT_EXIT(endWithoutDisplay(), testing::ExitedWithCode(displayLost),
              "^geosandbox: the connection to the X server was lost");
}

}  // namespace
