#pragma once
// The Xlib functions the program calls itself, found in libX11 at run time, so the build
// needs no X11 and the program links no X library of its own: it uses the one SDL loads. The
// few types are Xlib's own layout (X11/Xlib.h), which its ABI keeps.

struct XDisplayOpaque;
using XDisplay = XDisplayOpaque;  // Xlib's Display, only ever a pointer here
using XId = unsigned long;        // a window's or an atom's number
constexpr XId noXId = 0;

// Xlib's XErrorEvent.
struct XErrorEventLayout {
  int type;
  XDisplay* display;
  XId resourceid;
  unsigned long serial;
  unsigned char error_code;
  unsigned char request_code;
  unsigned char minor_code;
};

// Xlib's XClientMessageEvent, for _NET_ACTIVE_WINDOW.
struct XClientMessageLayout {
  int type;
  unsigned long serial;
  int send_event;
  XDisplay* display;
  XId window;
  XId message_type;
  int format;
  long data[5];
};

// Xlib's XPropertyEvent, whose time gives the program the X server's clock.
struct XPropertyEventLayout {
  int type;
  unsigned long serial;
  int send_event;
  XDisplay* display;
  XId window;
  XId atom;
  unsigned long time;
  int state;
};

// Xlib's XEvent, a union of 24 longs, with the two kinds the program reads or sends.
union XEventLayout {
  int type;
  XPropertyEventLayout property;
  XClientMessageLayout message;
  long pad[24];
};

using XErrorHandlerCall = int (*)(XDisplay*, XErrorEventLayout*);
using XIoErrorHandlerCall = int (*)(XDisplay*);

struct XlibCalls {
  XDisplay* (*openDisplay)(const char* name);
  int (*closeDisplay)(XDisplay*);
  int (*free)(void*);
  XErrorHandlerCall (*setErrorHandler)(XErrorHandlerCall);
  XIoErrorHandlerCall (*setIoErrorHandler)(XIoErrorHandlerCall);
  int (*getErrorText)(XDisplay*, int code, char* buffer, int length);
  int (*getErrorDatabaseText)(XDisplay*, const char* name, const char* message,
                              const char* fallback, char* buffer, int length);
  char** (*listExtensions)(XDisplay*, int* count);
  int (*freeExtensionList)(char** list);
  int (*queryExtension)(XDisplay*, const char* name, int* major, int* event, int* error);
  XId (*internAtom)(XDisplay*, const char* name, int onlyIfExists);
  int (*getWindowProperty)(XDisplay*, XId window, XId property, long offset, long length,
                           int remove, XId type, XId* typeFound, int* format, unsigned long* count,
                           unsigned long* after, unsigned char** data);
  int (*selectInput)(XDisplay*, XId window, long mask);
  int (*connectionNumber)(XDisplay*);
  int (*pending)(XDisplay*);
  int (*nextEvent)(XDisplay*, XEventLayout*);
  int (*sendEvent)(XDisplay*, XId window, int propagate, long mask, XEventLayout* event);
  int (*sync)(XDisplay*, int discard);
  int (*flush)(XDisplay*);
  int (*changeProperty)(XDisplay*, XId window, XId property, XId type, int format, int mode,
                        const unsigned char* data, int count);
  XId (*defaultRootWindow)(XDisplay*);
  int (*getInputFocus)(XDisplay*, XId* focus, int* revertTo);
  int (*setInputFocus)(XDisplay*, XId focus, int revertTo, unsigned long time);
  int (*getGeometry)(XDisplay*, XId drawable, XId* root, int* x, int* y, unsigned* width,
                     unsigned* height, unsigned* border, unsigned* depth);
  int (*moveResizeWindow)(XDisplay*, XId window, int x, int y, unsigned width, unsigned height);
  int (*queryPointer)(XDisplay*, XId window, XId* root, XId* child, int* rootX, int* rootY, int* x,
                      int* y, unsigned* buttons);
};

// Loaded once and kept for the run; null where libX11, or one of these, is missing.
const XlibCalls* xlibCalls();
