#include "app/x_errors.h"

#include <algorithm>

namespace {

// The X protocol's codes the judgement needs (X11/X.h and X11/Xproto.h).
constexpr int badWindow = 3;
constexpr int badMatch = 8;
constexpr int badDrawable = 9;
constexpr int firstExtensionRequest = 128;
constexpr int setInputFocus = 42;

bool isOwn(unsigned long resource, const std::vector<unsigned long>& ownWindows) {
  return resource != 0 &&
         std::find(ownWindows.begin(), ownWindows.end(), resource) != ownWindows.end();
}

std::string requestOf(const XErrorReport& report, const std::string& requestName) {
  std::string text = requestName.empty() ? "a request" : requestName;
  text += " (request " + std::to_string(report.request);
  if (report.request >= firstExtensionRequest) text += "." + std::to_string(report.minor);
  return text + ")";
}

}  // namespace

XErrorVerdict judgeXError(const XErrorReport& report, bool opening,
                          const std::vector<unsigned long>& ownWindows) {
  if (opening && report.request >= firstExtensionRequest) return XErrorVerdict::expected;
  // Classic SDL 1.2 gives a full-screen window the focus before the window manager may have
  // mapped it; the server refuses, and the window manager gives the focus as it maps it.
  if (report.request == setInputFocus && report.code == badMatch) return XErrorVerdict::harmless;
  // GLX's own BadDrawable is an extension's code; the resource tells it is the window's.
  const bool namesDrawable =
      report.code == badWindow || report.code == badDrawable || report.code >= 128;
  if (namesDrawable && isOwn(report.resource, ownWindows)) return XErrorVerdict::windowLost;
  return XErrorVerdict::fatal;
}

std::string xErrorLine(XErrorVerdict verdict, const XErrorReport& report,
                       const std::string& errorText, const std::string& requestName) {
  const std::string what = "the X server refused " + requestOf(report, requestName) + ": " +
                           (errorText.empty() ? "error " + std::to_string(report.code) : errorText);
  switch (verdict) {
    case XErrorVerdict::harmless:
      return "geosandbox: " + what + "; the run goes on (said once)\n";
    case XErrorVerdict::windowLost:
      return "geosandbox: the window was destroyed by another program (" + what + ")\n";
    default:
      return "geosandbox: " + what + "; the run cannot go on\n";
  }
}
