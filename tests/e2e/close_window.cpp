// Asks a window to close the way a window manager does when the user clicks its
// close button: a WM_DELETE_WINDOW client message. Bare Xvfb has no window manager,
// and destroying or killing the window instead would test X errors, not a quit.
//
// Usage: e2e_close_window WINDOW_ID   (decimal or 0x hex, as xdotool prints it)

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s WINDOW_ID\n", arguments[0]);
    return 2;
  }
  char* end = nullptr;
  unsigned long window = std::strtoul(arguments[1], &end, 0);
  if (*arguments[1] == '\0' || *end != '\0') {
    std::fprintf(stderr, "not a window id: %s\n", arguments[1]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}
