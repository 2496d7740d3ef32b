#include "app/xlib.h"

#include <dlfcn.h>

#include "app/run_end.h"

namespace {

// Xlib's handles are opaque here: only pointers pass through.
using OpenDisplay = void* (*)(const char*);
using CloseDisplay = int (*)(void*);
using Free = int (*)(void*);
using IsActive = int (*)(void*);
using QueryScreens = void* (*)(void*, int*);
using ErrorHandler = int (*)(void*, void*);
using IoErrorHandler = int (*)(void*);
using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler);

template <typename Function>
Function symbol(void* library, const char* name) {
  return reinterpret_cast<Function>(dlsym(library, name));
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

// Xlib's own handler would print the request and end the process with status 1, from
// inside whichever SDL call made it. Returning goes on: that call fails, and the program
// says why in its own words where it matters (a window whose GL context was refused).
extern "C" int ignoreXError(void*, void*) {
  return 0;
}

// Xlib ends the process once this returns; it does not.
extern "C" int endOnLostConnection(void*) {
  endWithoutDisplay();
}

}  // namespace

int countXineramaHeads() {
  const Library x11("libX11.so.6");
  const Library xinerama("libXinerama.so.1");
  if (!x11.handle || !xinerama.handle) return -1;
  const auto openDisplay = symbol<OpenDisplay>(x11.handle, "XOpenDisplay");
  const auto closeDisplay = symbol<CloseDisplay>(x11.handle, "XCloseDisplay");
  const auto free = symbol<Free>(x11.handle, "XFree");
  const auto isActive = symbol<IsActive>(xinerama.handle, "XineramaIsActive");
  const auto queryScreens = symbol<QueryScreens>(xinerama.handle, "XineramaQueryScreens");
  if (!openDisplay || !closeDisplay || !free || !isActive || !queryScreens) return -1;
  void* display = openDisplay(nullptr);
  if (!display) return -1;
  int heads = 1;
  if (isActive(display)) {
    void* screens = queryScreens(display, &heads);
    if (screens) free(screens);
    if (heads < 1) heads = 1;
  }
  closeDisplay(display);
  return heads;
}

void installXlibHandlers() {
  // Kept loaded for the whole run: the handlers live in Xlib's state. It is the same
  // library SDL loads, so SDL's own handlers pass on to these.
  void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (!x11) return;
  const auto setErrorHandler = symbol<SetErrorHandler>(x11, "XSetErrorHandler");
  const auto setIoErrorHandler = symbol<SetIoErrorHandler>(x11, "XSetIOErrorHandler");
  if (setErrorHandler) setErrorHandler(ignoreXError);
  if (setIoErrorHandler) setIoErrorHandler(endOnLostConnection);
}
