// What a window manager or another program would see of the program on a bare X server:
//   e2e_desktop_probe grabs          whether another client can grab the pointer and the
//                                    keyboard now: "pointer free|held keyboard free|held"
//   e2e_desktop_probe requests S     for S seconds, the requests to the window manager sent to
//                                    the root, one line each: "_NET_ACTIVE_WINDOW WINDOW SOURCE
//                                    TIME" or "WM_CHANGE_STATE WINDOW STATE" (decimal)
//   e2e_desktop_probe configure WINDOW WIDTH HEIGHT   tells WINDOW it has that size, as a window
//                                    manager's synthetic ConfigureNotify does (ICCCM 4.1.5)

#include <X11/Xlib.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char* state(int grab) {
  return grab == GrabSuccess ? "free" : "held";
}

int grabs(Display* display) {
  const Window root = DefaultRootWindow(display);
  const int pointer = XGrabPointer(display, root, False, ButtonPressMask, GrabModeAsync,
                                   GrabModeAsync, None, None, CurrentTime);
  const int keyboard =
      XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  XUngrabPointer(display, CurrentTime);
  XUngrabKeyboard(display, CurrentTime);
  std::printf("pointer %s keyboard %s\n", state(pointer), state(keyboard));
  return 0;
}

int requests(Display* display, int seconds) {
  const Window root = DefaultRootWindow(display);
  const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  const Atom changeState = XInternAtom(display, "WM_CHANGE_STATE", False);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  std::printf("listening\n");
  std::fflush(stdout);
  const std::time_t end = std::time(nullptr) + seconds;
  while (std::time(nullptr) < end) {
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    if (XPending(display) == 0) poll(&connection, 1, 100);
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != ClientMessage) continue;
      const XClientMessageEvent& message = event.xclient;
      if (message.message_type == active) {
        std::printf("_NET_ACTIVE_WINDOW %lu %ld %ld\n", message.window, message.data.l[0],
                    message.data.l[1]);
      } else if (message.message_type == changeState) {
        std::printf("WM_CHANGE_STATE %lu %ld\n", message.window, message.data.l[0]);
      }
      std::fflush(stdout);
    }
  }
  return 0;
}

int configure(Display* display, Window window, int width, int height) {
  XEvent event = {};
  event.xconfigure.type = ConfigureNotify;
  event.xconfigure.event = window;
  event.xconfigure.window = window;
  event.xconfigure.width = width;
  event.xconfigure.height = height;
  XSendEvent(display, window, False, StructureNotifyMask, &event);
  XSync(display, False);
  return 0;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  const bool asksGrabs = argumentCount == 2 && std::strcmp(arguments[1], "grabs") == 0;
  const bool asksRequests = argumentCount == 3 && std::strcmp(arguments[1], "requests") == 0;
  const bool asksConfigure = argumentCount == 5 && std::strcmp(arguments[1], "configure") == 0;
  if (!asksGrabs && !asksRequests && !asksConfigure) {
    std::fprintf(stderr, "usage: %s grabs | requests SECONDS | configure WINDOW WIDTH HEIGHT\n",
                 arguments[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  const int status = asksGrabs       ? grabs(display)
                     : asksConfigure ? configure(display, std::strtoul(arguments[2], nullptr, 0),
                                                 std::atoi(arguments[3]), std::atoi(arguments[4]))
                                     : requests(display, std::atoi(arguments[2]));
  XCloseDisplay(display);
  return status;
}
