#include "app/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

// A clock that stands still until the test winds it.
class StillTime : public TimeSource {
 public:
  explicit StillTime(uint32_t start) : now(start) {}
  uint32_t ticks() override { return now; }
  void sleepMilliseconds(uint32_t milliseconds) override { now += milliseconds; }
  uint64_t cycles() override { return now; }
  uint32_t now;
};

TEST(ProgressText, WholePerCentRoundedDown) {
  struct Case {
    std::size_t done, due;
    const char* text;
  };
  const Case cases[] = {
      {0, 100, "refining: splitting edges 0%"},
      {999, 1000, "refining: splitting edges 99%"},
      {1000, 1000, "refining: splitting edges 100%"},
      {0, 0, "refining: splitting edges 100%"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(progressText("splitting edges", c.done, c.due), c.text) << c.done << "/" << c.due;
  }
}

// What a step writes to standard error for reports at the given times, then its end.
TEST(ProgressLine, ShownOnlyOnATerminalAfterHalfASecondAndClearedAtTheEnd) {
  struct Report {
    uint32_t atMilliseconds;
    std::size_t done;
  };
  struct Case {
    const char* what;
    bool isTerminal;
    uint32_t startTick;
    std::vector<Report> reports;
    const char* written;
  };
  const Case cases[] = {
      {"short step", true, 1000, {{100, 10}, {499, 50}}, ""},
      {"not a terminal", false, 1000, {{600, 10}, {900, 50}}, ""},
      {"long step",
       true,
       1000,
       {{499, 10}, {500, 20}, {700, 30}},
       "\r\033[Krefining: checking 20%\r\033[Krefining: checking 30%\r\033[K"},
      {"same text once",
       true,
       1000,
       {{600, 40}, {700, 40}},
       "\r\033[Krefining: checking 40%\r\033[K"},
      {"tick wraps",
       true,
       0xFFFFFF00u,
       {{300, 10}, {600, 20}},
       "\r\033[Krefining: checking 20%\r\033[K"},
  };
  for (const Case& c : cases) {
    StillTime time(c.startTick);
    std::ostringstream terminal;
    ProgressLine line(terminal, c.isTerminal, time);
    for (const Report& report : c.reports) {
      time.now = c.startTick + report.atMilliseconds;
      line.reached("checking", report.done, 100);
    }
    line.finished();
    line.finished();  // a second end writes nothing more
    EXPECT_EQ(terminal.str(), c.written) << c.what;
  }
}

}  // namespace
