#include "app/run_end.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

TEST(RunEnd, AFailedStreamIsSaidOnce) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_FALSE(noticeLostOutput(out, err));
  out.setstate(std::ios::badbit);
  EXPECT_TRUE(noticeLostOutput(out, err));
  const std::string once = err.str();
  EXPECT_TRUE(noticeLostOutput(out, err));
  EXPECT_FALSE(once.empty());
  EXPECT_EQ(err.str(), once);
}

// The manual page's EXIT STATUS: each status number of an entry, with the entry's text.
std::map<int, std::string> manualStatuses() {
  std::ifstream page(MANUAL_PAGE_SOURCE);
  std::map<int, std::string> statuses;
  std::string line;
  while (std::getline(page, line) && line != ".SH EXIT STATUS") {
  }
  std::vector<int> entry;
  while (std::getline(page, line) && line.rfind(".SH", 0) != 0) {
    if (line == ".TP") {
      entry.clear();
    } else if (entry.empty() && line.rfind(".B", 0) == 0) {
      const std::regex number("[0-9]+");
      for (std::sregex_iterator it(line.begin(), line.end(), number), end; it != end; ++it)
        entry.push_back(std::stoi(it->str()));
    } else {
      for (int status : entry) statuses[status] += line + " ";
    }
  }
  return statuses;
}

TEST(RunEnd, TheManualPageSaysWhatEachStatusMeans) {
  const std::map<ExitStatus, std::string> meanings = {
      {ranToEnd, "Escape pressed"},
      {outputLost, "Standard output could not be written"},
      {noVideoMode, "No window with OpenGL"},
      {displayLost, "connection to the X server was lost"},
      {windowLost, "destroyed the window"},
      {xRequestRefused, "refused a request the run cannot go on without"},
      {unknownArguments, "argument was not understood"},
  };
  const std::map<int, std::string> manual = manualStatuses();
  for (ExitStatus status : exitStatuses) {
    ASSERT_EQ(meanings.count(status), 1u) << status << " has no meaning in this test";
    ASSERT_EQ(manual.count(status), 1u) << status << " is not in the manual page";
    EXPECT_NE(manual.at(status).find(meanings.at(status)), std::string::npos)
        << status << ": " << manual.at(status);
  }
  // And the page lists no status of the program's own that the program does not have.
  for (const auto& [status, text] : manual) {
    if (status < 128) {
      EXPECT_EQ(meanings.count(ExitStatus(status)), 1u) << status;
    }
  }
}

// A lost output changes a run's status only where it ran to its end.
TEST(RunEnd, EachWayOutHasItsOwnStatus) {
  const auto loseOutput = [] { std::cout.setstate(std::ios::badbit); };
  EXPECT_EXIT((loseOutput(), endProcess(ranToEnd)), testing::ExitedWithCode(outputLost),
              "standard output cannot be written");
  // A lost output does not hide why the run ended otherwise.
  EXPECT_EXIT((loseOutput(), endProcess(noVideoMode)), testing::ExitedWithCode(noVideoMode),
              "standard output cannot be written");
  EXPECT_EXIT(endWithoutDisplay(), testing::ExitedWithCode(displayLost),
              "^geosandbox: the connection to the X server was lost");
}

}  // namespace
