#include "startup/start_output.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "startup/start_mesh.h"

namespace {

std::string goldenStartOutput() {
  std::ifstream file(START_OUTPUT_GOLDEN_FILE);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string startOutput(std::ostringstream& out) {
  Mesh mesh;
  buildStartMesh(mesh, out);
  return out.str();
}

TEST(StartOutput, EqualsTheIndependentModelCharacterForCharacter) {
  const std::string golden = goldenStartOutput();
  ASSERT_FALSE(golden.empty()) << "missing " << START_OUTPUT_GOLDEN_FILE;
  std::ostringstream format;
  // The banner is the program's; everything after it is written by buildStartMesh.
  const std::string produced = "start!\n" + startOutput(format);
  if (produced == golden) return;
  std::istringstream expectedLines(golden), producedLines(produced);
  std::string expected, actual;
  for (int line = 1; std::getline(expectedLines, expected); ++line) {
    ASSERT_TRUE(std::getline(producedLines, actual)) << "output ends before line " << line;
    ASSERT_EQ(actual, expected) << "line " << line;
  }
  FAIL() << "output continues past the golden text";
}

TEST(StartOutput, LeavesDecimalIntegersAndPrecisionNineteen) {
  std::ostringstream format;
  format << std::hex;
  format.precision(3);
  startOutput(format);
  EXPECT_EQ(format.precision(), 19);
  format.str("");
  format << 255 << " " << 0.1;
  EXPECT_EQ(format.str(), "255 0.1000000000000000056");
}

TEST(IterationTrace, StopsWithTheStepNumberWhenXReachesOne) {
  std::ostringstream out;
  out.precision(19);
  // 1 is the fixed point: step 0 already lands on it exactly.
  writeIterationTrace(1.0, out);
  EXPECT_EQ(out.str(),
            "1*(1.350000000000000089-0.3499999999999999778*1<sup>2</sup>)=1\n"
            "0\n"
            "1lol! !!1!11one~one\n");
}

TEST(IterationTrace, WritesTwentyLinesWhenXNeverReachesOne) {
  std::ostringstream out;
  out.precision(19);
  writeIterationTrace(0.5, out);
  const std::string text = out.str();
  int lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 20);
  EXPECT_EQ(text.find("one~one"), std::string::npos);
  EXPECT_EQ(text.find("\n\n"), std::string::npos);
}

}  // namespace
