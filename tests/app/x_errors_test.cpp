#include "app/x_errors.h"

#include <gtest/gtest.h>

namespace {

struct JudgeCase {
  const char* what;
  XErrorReport report;  // code, request, minor, resource
  bool opening;
  XErrorVerdict verdict;
};

TEST(XErrors, EachErrorHasItsVerdict) {
  const std::vector<unsigned long> own = {0x200006, 0x200008};
  const std::vector<JudgeCase> cases = {
      {"GLX refuses the context while the window opens",
       {2, 152, 3, 0},
       true,
       XErrorVerdict::expected},
      {"the same once the window is open", {2, 152, 3, 0}, false, XErrorVerdict::fatal},
      {"a core request while opening is no GL context",
       {3, 2, 0, 0x42},
       true,
       XErrorVerdict::fatal},
      {"the focus given before the window is mapped",
       {8, 42, 0, 0x200006},
       false,
       XErrorVerdict::harmless},
      {"the window gone under a property read",
       {3, 20, 0, 0x200008},
       false,
       XErrorVerdict::windowLost},
      {"the window gone under a shared-memory picture",
       {9, 130, 3, 0x200006},
       false,
       XErrorVerdict::windowLost},
      {"another window's BadWindow", {3, 20, 0, 0x300001}, false, XErrorVerdict::fatal},
      {"no resource named", {3, 40, 0, 0}, false, XErrorVerdict::fatal},
      {"a bad value on our window", {2, 12, 0, 0x200006}, false, XErrorVerdict::fatal},
  };
  for (const JudgeCase& c : cases) {
    EXPECT_EQ(judgeXError(c.report, c.opening, own), c.verdict) << c.what;
  }
}

TEST(XErrors, TheLineNamesTheRequest) {
  EXPECT_EQ(xErrorLine(XErrorVerdict::fatal, {3, 2, 0, 1}, "BadWindow (invalid Window parameter)",
                       "X_ChangeWindowAttributes"),
            "geosandbox: the X server refused X_ChangeWindowAttributes (request 2): BadWindow "
            "(invalid Window parameter); the run cannot go on\n");
  EXPECT_EQ(xErrorLine(XErrorVerdict::windowLost, {9, 130, 3, 1}, "", ""),
            "geosandbox: the window was destroyed by another program (the X server refused "
            "a request (request 130.3): error 9)\n");
  EXPECT_EQ(xErrorLine(XErrorVerdict::harmless, {8, 42, 0, 1}, "BadMatch", "X_SetInputFocus"),
            "geosandbox: the X server refused X_SetInputFocus (request 42): BadMatch; the run "
            "goes on (said once)\n");
}

}  // namespace
