#include "app/desktop_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include <vector>

#include "app/xlib.h"
#include "app/xlib_calls.h"

namespace {

// ICCCM's WM_STATE value of a minimised window.
constexpr long iconicState = 3;

struct Watch {
  Display* own = nullptr;  // the program's connection, opened once
  Display* sdl = nullptr;  // SDL's, only to wait on
  Window managed = 0;      // the window the window manager manages
  Atom wmState = 0;
  Atom netWmState = 0;
  Atom netWmStateHidden = 0;
};

Watch watch;

// The property's 32-bit items (longs, as Xlib hands them), empty where it is missing.
std::vector<long> readProperty(const XlibCalls& x, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::vector<long> items;
  const int status = x.getWindowProperty(watch.own, watch.managed, property, 0, 64, False,
                                         AnyPropertyType, &type, &format, &count, &after, &data);
  if (status == Success && format == 32 && data) {
    const long* values = reinterpret_cast<const long*>(data);
    items.assign(values, values + count);
  }
  if (data) x.free(data);
  return items;
}

// Events on the program's own connection only say that a property changed; the state is read
// afresh, so they are dropped.
void dropEvents(const XlibCalls& x) {
  XEvent event;
  while (x.pending(watch.own) > 0) x.nextEvent(watch.own, &event);
}

}  // namespace

void watchWindow() {
  const XlibCalls* x = xlibCalls();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!x || SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return;
  setOwnWindows({info.info.x11.window, info.info.x11.fswindow, info.info.x11.wmwindow});
  if (!watch.own) {
    watch.own = x->openDisplay(nullptr);
    if (!watch.own) return;
    watch.wmState = x->internAtom(watch.own, "WM_STATE", False);
    watch.netWmState = x->internAtom(watch.own, "_NET_WM_STATE", False);
    watch.netWmStateHidden = x->internAtom(watch.own, "_NET_WM_STATE_HIDDEN", False);
  }
  watch.sdl = info.info.x11.display;
  // sdl12-compat names only the one window SDL 2 made, which the window manager manages.
  watch.managed = info.info.x11.wmwindow ? info.info.x11.wmwindow : info.info.x11.window;
  x->selectInput(watch.own, watch.managed, PropertyChangeMask);
  x->sync(watch.own, False);
}

bool desktopHidesWindow() {
  const XlibCalls* x = xlibCalls();
  if (!x || !watch.own) return false;
  dropEvents(*x);
  const std::vector<long> state = readProperty(*x, watch.wmState);
  if (!state.empty() && state.front() == iconicState) return true;
  for (long atom : readProperty(*x, watch.netWmState)) {
    if (static_cast<Atom>(atom) == watch.netWmStateHidden) return true;
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
