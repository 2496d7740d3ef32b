#include "app/arguments.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct ArgumentCase {
  std::vector<const char*> line;
  Request request;
  const char* refusal;  // the line on standard error, where refused
};

TEST(Arguments, OnlyHelpAndVersionAreUnderstood) {
  const std::vector<ArgumentCase> cases = {
      {{"geosandbox"}, Request::run, ""},
      {{"geosandbox", "--help"}, Request::help, ""},
      {{"geosandbox", "--version"}, Request::version, ""},
      {{"geosandbox", "-h"}, Request::refused, "unknown argument '-h'"},
      {{"geosandbox", "mesh.txt"}, Request::refused, "unknown argument 'mesh.txt'"},
      {{"geosandbox", "--help", "--x"}, Request::refused, "unknown argument '--x'"},
      {{"geosandbox", "--versio", "--help"}, Request::refused, "unknown argument '--versio'"},
  };
  for (const ArgumentCase& c : cases) {
    const int count = static_cast<int>(c.line.size());
    EXPECT_EQ(readArguments(count, c.line.data()), c.request) << c.line.back();
    if (c.request != Request::refused) continue;
    std::ostringstream err;
    sayRefused(count, c.line.data(), err);
    EXPECT_NE(err.str().find(c.refusal), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line";
  }
}

TEST(Arguments, UsageListsEveryKeyOfTheTable) {
  std::ostringstream out;
  printUsage(out);
  for (const char* key : {"\n  Up / Down arrow ", "\n  t ", "\n  y ", "\n  Escape"}) {
    EXPECT_NE(out.str().find(key), std::string::npos) << key;
  }
  EXPECT_EQ(out.str().find('`'), std::string::npos) << "Markdown left in the usage";
  EXPECT_NE(out.str().find("however short); prints"), std::string::npos) << "semicolon lost";
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    // The one input longer than its column stands alone on its line.
    if (line.rfind("  Escape", 0) == 0) continue;
    EXPECT_LE(line.size(), 79u) << line;
  }
}

}  // namespace
