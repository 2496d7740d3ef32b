#include "app/desktop_window.h"

#include <SDL.h>
#include <poll.h>

#include <vector>

#include "app/xlib.h"
#include "app/xlib_calls.h"

// SDL 1.2's SDL_SysWMinfo as both SDL 1.2 libraries fill it on X11: their header gives the X11
// part only where the X11 headers are installed and, on sdl12-compat, where it says so.
struct SDL_SysWMinfo {
  SDL_version version;
  int subsystem;
  struct {
    XDisplay* display;
    XId window;  // where the program draws
    void (*lock)();
    void (*unlock)();
    XId fswindow;  // classic SDL's full-screen window; sdl12-compat's one window
    XId wmwindow;  // classic SDL's managed window; 0 on sdl12-compat
    XDisplay* gfxdisplay;
  } x11;
};
extern "C" int SDL_GetWMInfo(SDL_SysWMinfo* info);

namespace {

constexpr int propertyNotify = 28;
constexpr int clientMessage = 33;
constexpr int propModeAppend = 2;
constexpr long substructureNotifyAndRedirect = (1L << 19) | (1L << 20);
constexpr long fromApplication = 1;  // _NET_ACTIVE_WINDOW's source: a normal application
constexpr int sysWmX11 = 0;          // SDL_SYSWM_X11, the first of its enum
constexpr long propertyChangeMask = 1L << 22;
constexpr XId anyPropertyType = 0;
constexpr XId noFocus = 0;  // X's None as the focus: keys go nowhere

// Reads of the desktop's word after F11 in which a lost activation is looked for: kwin loses it
// some milliseconds after the switch, and the reads come every quarter of a second.
constexpr int activationReadsAfterSwitch = 8;

// ICCCM's WM_STATE value of a minimised window.
constexpr long iconicState = 3;

struct Watch {
  XDisplay* own = nullptr;  // the program's connection, opened once
  XDisplay* sdl = nullptr;  // SDL's, only to wait on
  XId managed = noXId;      // the window the window manager manages
  XId wmState = noXId;
  XId netWmState = noXId;
  XId netWmStateHidden = noXId;
  XId timeProperty = noXId;  // appended to with nothing, for the time of the change
  XId netActiveWindow = noXId;
  XId drawing = noXId;     // where the program draws
  XId fullScreen = noXId;  // classic SDL's full-screen window, drawing's parent in full screen
  bool filled = false;     // drawing grown to fill fullScreen (filledBox)
  int activationReadsLeft = 0;
  bool activationSeenLost = false;  // at the read before: one read alone may see a transition
};

Watch watch;

// The property's 32-bit items (longs, as Xlib hands them), empty where it is missing.
std::vector<long> readProperty(const XlibCalls& x, XId window, XId property) {
  XId type = noXId;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::vector<long> items;
  const int status = x.getWindowProperty(watch.own, window, property, 0, 64, 0, anyPropertyType,
                                         &type, &format, &count, &after, &data);
  if (status == 0 && format == 32 && data) {
    const long* values = reinterpret_cast<const long*>(data);
    items.assign(values, values + count);
  }
  if (data) x.free(data);
  return items;
}

// The X server's time now: SDL 1.2 gives a key press no time, so an empty append to a
// property of the window makes a change whose notice carries it (as ICCCM suggests).
unsigned long serverTime(const XlibCalls& x) {
  x.changeProperty(watch.own, watch.managed, watch.timeProperty, watch.timeProperty, 8,
                   propModeAppend, nullptr, 0);
  x.sync(watch.own, 0);
  unsigned long time = 0;
  XEventLayout event;
  while (x.pending(watch.own) > 0) {
    x.nextEvent(watch.own, &event);
    if (event.type == propertyNotify && event.property.atom == watch.timeProperty) {
      time = event.property.time;
    }
  }
  return time;
}

// Events on the program's own connection only say that a property changed; the state is read
// afresh, so they are dropped.
void dropEvents(const XlibCalls& x) {
  XEventLayout event;
  while (x.pending(watch.own) > 0) x.nextEvent(watch.own, &event);
}

// The window has the X server's keyboard focus while the window manager names another window
// active, or none. kwin has been seen to leave it so when classic SDL's full-screen keyboard
// grab ends: it takes the grab's end for the focus leaving, and its own hand-back of the focus
// then changes nothing it could see, so the window is never active again and, under Wayland,
// no key reaches it. Without a window manager that names the active window, it never holds.
bool activationLost(const XlibCalls& x) {
  const std::vector<long> active =
      readProperty(x, x.defaultRootWindow(watch.own), watch.netActiveWindow);
  if (active.empty() || static_cast<XId>(active.front()) == watch.managed) return false;
  XId focus = noXId;
  int revertTo = 0;
  x.getInputFocus(watch.own, &focus, &revertTo);
  return focus == watch.managed;
}

// The focus taken off the window and given back at once, with the server's time, as a client
// may move it among its own windows: the window manager sees it arrive, and claims the window.
void focusAgain(const XlibCalls& x) {
  XId focus = noXId;
  int revertTo = 0;
  x.getInputFocus(watch.own, &focus, &revertTo);
  const unsigned long time = serverTime(x);
  x.setInputFocus(watch.own, noFocus, revertTo, time);
  x.setInputFocus(watch.own, watch.managed, revertTo, time);
  x.flush(watch.own);
}

// The window's place in its parent; all zero where it cannot be read.
WindowBox windowBox(const XlibCalls& x, XId window) {
  XId root = noXId;
  int left = 0;
  int top = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  if (!x.getGeometry(watch.own, window, &root, &left, &top, &width, &height, &border, &depth)) {
    return {0, 0, {0, 0}};
  }
  return {left, top, {static_cast<int32_t>(width), static_cast<int32_t>(height)}};
}

}  // namespace

void watchWindow() {
  const XlibCalls* x = xlibCalls();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!x || SDL_GetWMInfo(&info) <= 0 || info.subsystem != sysWmX11) return;
  setOwnWindows({info.x11.window, info.x11.fswindow, info.x11.wmwindow});
  if (!watch.own) {
    watch.own = x->openDisplay(nullptr);
    if (!watch.own) return;
    watch.wmState = x->internAtom(watch.own, "WM_STATE", 0);
    watch.netWmState = x->internAtom(watch.own, "_NET_WM_STATE", 0);
    watch.netWmStateHidden = x->internAtom(watch.own, "_NET_WM_STATE_HIDDEN", 0);
    watch.timeProperty = x->internAtom(watch.own, "_GEOSANDBOX_TIME", 0);
    watch.netActiveWindow = x->internAtom(watch.own, "_NET_ACTIVE_WINDOW", 0);
  }
  watch.sdl = info.x11.display;
  watch.drawing = info.x11.window;
  // sdl12-compat names its one window in both places; only classic SDL has a second.
  watch.fullScreen = info.x11.wmwindow ? info.x11.fswindow : noXId;
  watch.filled = false;
  // sdl12-compat names only the one window SDL 2 made, which the window manager manages.
  watch.managed = info.x11.wmwindow ? info.x11.wmwindow : info.x11.window;
  x->selectInput(watch.own, watch.managed, propertyChangeMask);
  x->sync(watch.own, 0);
}

bool desktopHidesWindow() {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own) return false;
  dropEvents(*x);
  const std::vector<long> state = readProperty(*x, watch.managed, watch.wmState);
  if (!state.empty() && state.front() == iconicState) return true;
  for (long atom : readProperty(*x, watch.managed, watch.netWmState)) {
    if (static_cast<XId>(atom) == watch.netWmStateHidden) return true;
  }
  return false;
}

void waitForDesktop(int milliseconds) {
  const XlibCalls* x = xlibCalls();
  std::vector<pollfd> connections;
  if (x && watch.own) connections.push_back({x->connectionNumber(watch.own), POLLIN, 0});
  if (x && watch.sdl) connections.push_back({x->connectionNumber(watch.sdl), POLLIN, 0});
  if (connections.empty()) {
    SDL_Delay(milliseconds);
    return;
  }
  poll(connections.data(), connections.size(), milliseconds);
}

void askForActivation() {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own) return;
  XEventLayout event = {};
  XClientMessageLayout& message = event.message;
  message.type = clientMessage;
  message.window = watch.managed;
  message.message_type = watch.netActiveWindow;
  message.format = 32;
  message.data[0] = fromApplication;
  message.data[1] = static_cast<long>(serverTime(*x));
  x->sendEvent(watch.own, x->defaultRootWindow(watch.own), 0, substructureNotifyAndRedirect,
               &event);
  x->flush(watch.own);
  watch.activationReadsLeft = activationReadsAfterSwitch;
  watch.activationSeenLost = false;
}

void mendLostActivation() {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own || watch.activationReadsLeft == 0) return;
  --watch.activationReadsLeft;
  const bool lost = activationLost(*x);
  if (!lost || !watch.activationSeenLost) {
    watch.activationSeenLost = lost;
    return;
  }
  focusAgain(*x);
  watch.activationReadsLeft = 0;
}

WindowSize fillFullScreen(WindowSize mode) {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own || !watch.fullScreen) return mode;
  const WindowBox drawing = windowBox(*x, watch.drawing);
  const WindowBox screen = windowBox(*x, watch.fullScreen);
  if (drawing.size.width == 0 || screen.size.width == 0) return mode;
  const WindowBox filled = filledBox(mode, screen.size);
  // The mode was switched (SDL's window covers the screen), or the window is in place already.
  if (filled.left == drawing.left && filled.top == drawing.top && filled.size == drawing.size) {
    return drawing.size;
  }
  x->moveResizeWindow(watch.own, watch.drawing, filled.left, filled.top,
                      static_cast<unsigned>(filled.size.width),
                      static_cast<unsigned>(filled.size.height));
  x->sync(watch.own, 0);
  watch.filled = true;
  return filled.size;
}

bool fullScreenFilled() {
  return watch.filled;
}

bool pointerInFilledWindow(int& pointerX, int& pointerY) {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own || !watch.filled) return false;
  XId root = noXId;
  XId child = noXId;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned buttons = 0;
  // False, the pointer is on another screen and Xlib gives 0, 0: SDL's position stands then.
  if (!x->queryPointer(watch.own, watch.drawing, &root, &child, &rootX, &rootY, &windowX, &windowY,
                       &buttons)) {
    return false;
  }
  pointerX = windowX;
  pointerY = windowY;
  return true;
}

WindowSize managedWindowSize() {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own) return {0, 0};
  return windowBox(*x, watch.managed).size;
}
