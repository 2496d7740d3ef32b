#pragma once
// The Xlib functions the program calls itself, found in libX11 at run time, so the program
// links no X library of its own: it uses the one SDL loads. Only Xlib's headers are built on.

#include <X11/Xlib.h>

struct XlibCalls {
  decltype(&XOpenDisplay) openDisplay;
  decltype(&XCloseDisplay) closeDisplay;
  decltype(&XFree) free;
  decltype(&XSetErrorHandler) setErrorHandler;
  decltype(&XSetIOErrorHandler) setIoErrorHandler;
  decltype(&XGetErrorText) getErrorText;
  decltype(&XGetErrorDatabaseText) getErrorDatabaseText;
  decltype(&XListExtensions) listExtensions;
  decltype(&XFreeExtensionList) freeExtensionList;
  decltype(&XQueryExtension) queryExtension;
  decltype(&XInternAtom) internAtom;
  decltype(&XGetWindowProperty) getWindowProperty;
  decltype(&XSelectInput) selectInput;
  decltype(&XConnectionNumber) connectionNumber;
  decltype(&XPending) pending;
  decltype(&XNextEvent) nextEvent;
  decltype(&XSendEvent) sendEvent;
  decltype(&XSync) sync;
};

// Loaded once and kept for the run; null where libX11, or one of these, is missing.
const XlibCalls* xlibCalls();
