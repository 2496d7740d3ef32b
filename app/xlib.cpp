#include "app/xlib.h"

#include <dlfcn.h>

#include <iostream>
#include <string>

#include "app/run_end.h"
#include "app/x_errors.h"
#include "app/xlib_calls.h"

namespace {

// libXinerama's two calls, without its header.
using IsActive = int (*)(XDisplay*);
using QueryScreens = void* (*)(XDisplay*, int*);

template <typename Function>
Function symbol(void* library, const char* name) {
  return reinterpret_cast<Function>(dlsym(library, name));
}

template <typename Function>
bool load(void* library, const char* name, Function& function) {
  function = symbol<Function>(library, name);
  return function != nullptr;
}

// Closes what it opened, on every path out.
struct Library {
  void* handle;
  explicit Library(const char* name) : handle(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {}
  ~Library() {
    if (handle) dlclose(handle);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
};

std::vector<unsigned long> ownWindows;
bool windowOpening = false;
bool harmlessSaid = false;
// The first error that ends the run, kept until the program is out of Xlib's call.
bool endPending = false;
XErrorVerdict pendingVerdict = XErrorVerdict::fatal;
XErrorReport pendingReport = {};
XDisplay* pendingDisplay = nullptr;

std::string errorText(const XlibCalls& x, XDisplay* display, int code) {
  char text[160] = "";
  x.getErrorText(display, code, text, sizeof text);
  return text;
}

// Xlib's own name of a core request, from its error database; an extension's request is
// named by its extension, asked of a connection of its own, since the one that failed may
// be in no state for requests.
std::string requestName(const XlibCalls& x, XDisplay* display, const XErrorReport& report) {
  char name[160] = "";
  if (report.request < 128) {
    const std::string number = std::to_string(report.request);
    x.getErrorDatabaseText(display, "XRequest", number.c_str(), "", name, sizeof name);
    return name;
  }
  XDisplay* own = x.openDisplay(nullptr);
  if (!own) return "";
  std::string found;
  int count = 0;
  char** extensions = x.listExtensions(own, &count);
  for (int index = 0; extensions && index < count && found.empty(); ++index) {
    int major = 0;
    int event = 0;
    int error = 0;
    if (x.queryExtension(own, extensions[index], &major, &event, &error) &&
        major == report.request) {
      found = extensions[index];
    }
  }
  if (extensions) x.freeExtensionList(extensions);
  x.closeDisplay(own);
  if (found.empty()) return "";
  const std::string key = found + "." + std::to_string(report.minor);
  x.getErrorDatabaseText(display, "XRequest", key.c_str(), found.c_str(), name, sizeof name);
  return name;
}

// Xlib's own handler would print the request and end the process with status 1, from
// inside whichever SDL call made it. This one only notes the error and returns, so that
// call fails or goes on, and the run ends, where it must, once out of it.
extern "C" int noteXError(XDisplay* display, XErrorEventLayout* event) {
  const XErrorReport report = {event->error_code, event->request_code, event->minor_code,
                               event->resourceid};
  if (endPending) return 0;  // what follows the first such error only repeats it
  const XErrorVerdict verdict = judgeXError(report, windowOpening, ownWindows);
  if (verdict == XErrorVerdict::expected) return 0;
  if (verdict == XErrorVerdict::harmless) {
    if (harmlessSaid) return 0;
    harmlessSaid = true;
    std::cerr << xErrorLine(verdict, report, errorText(*xlibCalls(), display, report.code),
                            requestName(*xlibCalls(), display, report))
              << std::flush;
    return 0;
  }
  endPending = true;
  pendingVerdict = verdict;
  pendingReport = report;
  pendingDisplay = display;
  return 0;
}

// Xlib ends the process once this returns; it does not.
extern "C" int endOnLostConnection(XDisplay*) {
  endWithoutDisplay();
}

}  // namespace

int countXineramaHeads() {
  const XlibCalls* x = xlibCalls();
  const Library xinerama("libXinerama.so.1");
  if (!x || !xinerama.handle) return -1;
  const auto isActive = symbol<IsActive>(xinerama.handle, "XineramaIsActive");
  const auto queryScreens = symbol<QueryScreens>(xinerama.handle, "XineramaQueryScreens");
  if (!isActive || !queryScreens) return -1;
  XDisplay* display = x->openDisplay(nullptr);
  if (!display) return -1;
  int heads = 1;
  if (isActive(display)) {
    void* screens = queryScreens(display, &heads);
    if (screens) x->free(screens);
    if (heads < 1) heads = 1;
  }
  x->closeDisplay(display);
  return heads;
}

const XlibCalls* xlibCalls() {
  // Kept loaded for the whole run: the handlers live in Xlib's state. It is the same
  // library SDL loads, so SDL's own handlers pass on to the program's.
  static const XlibCalls* const calls = []() -> const XlibCalls* {
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!x11) return nullptr;
    static XlibCalls found = {};
    const bool complete =
        load(x11, "XOpenDisplay", found.openDisplay) &&
        load(x11, "XCloseDisplay", found.closeDisplay) && load(x11, "XFree", found.free) &&
        load(x11, "XSetErrorHandler", found.setErrorHandler) &&
        load(x11, "XSetIOErrorHandler", found.setIoErrorHandler) &&
        load(x11, "XGetErrorText", found.getErrorText) &&
        load(x11, "XGetErrorDatabaseText", found.getErrorDatabaseText) &&
        load(x11, "XListExtensions", found.listExtensions) &&
        load(x11, "XFreeExtensionList", found.freeExtensionList) &&
        load(x11, "XQueryExtension", found.queryExtension) &&
        load(x11, "XInternAtom", found.internAtom) &&
        load(x11, "XGetWindowProperty", found.getWindowProperty) &&
        load(x11, "XSelectInput", found.selectInput) &&
        load(x11, "XConnectionNumber", found.connectionNumber) &&
        load(x11, "XPending", found.pending) && load(x11, "XNextEvent", found.nextEvent) &&
        load(x11, "XSendEvent", found.sendEvent) && load(x11, "XSync", found.sync) &&
        load(x11, "XFlush", found.flush) && load(x11, "XChangeProperty", found.changeProperty) &&
        load(x11, "XDefaultRootWindow", found.defaultRootWindow) &&
        load(x11, "XGetInputFocus", found.getInputFocus) &&
        load(x11, "XSetInputFocus", found.setInputFocus) &&
        load(x11, "XGetGeometry", found.getGeometry) &&
        load(x11, "XMoveResizeWindow", found.moveResizeWindow) &&
        load(x11, "XQueryPointer", found.queryPointer);
    return complete ? &found : nullptr;
  }();
  return calls;
}

void installXlibHandlers() {
  const XlibCalls* x = xlibCalls();
  if (!x) return;
  x->setErrorHandler(noteXError);
  x->setIoErrorHandler(endOnLostConnection);
}

OpeningWindow::OpeningWindow() {
  windowOpening = true;
}

OpeningWindow::~OpeningWindow() {
  windowOpening = false;
}

void setOwnWindows(const std::vector<unsigned long>& windows) {
  ownWindows = windows;
}

void endOnPendingXError() {
  if (!endPending) return;
  const XlibCalls& x = *xlibCalls();
  endAfterXError(
      pendingVerdict == XErrorVerdict::windowLost ? windowLost : xRequestRefused,
      xErrorLine(pendingVerdict, pendingReport, errorText(x, pendingDisplay, pendingReport.code),
                 requestName(x, pendingDisplay, pendingReport)));
}
