#pragma once
// The window as the desktop sees it, through a connection of the program's own to the X
// server: minimised or lost as the active window, its size, and full screen's drawing window.

#include "app/window_size.h"

// After each video mode set: takes the windows SDL made for the program and watches the one
// the window manager manages. Does nothing without X11 (another SDL video driver, no libX11).
void watchWindow();

// The window manager holds the window minimised: WM_STATE Iconic, or _NET_WM_STATE with
// _NET_WM_STATE_HIDDEN (mutter keeps a minimised window mapped, so SDL is not told). A window
// destroyed meanwhile is noted by the X error handler, and endOnPendingXError ends the run.
bool desktopHidesWindow();

// Sleeps until the X server sends either connection something (an event for SDL, a property
// of the window changed) or `milliseconds` pass.
void waitForDesktop(int milliseconds);

// Asks the window manager to give the window the keyboard, as a task bar does, with the X
// server's time of the request: after F11 some (kwin) leave the re-made window without it.
void askForActivation();

// For a few reads after that: where the window keeps the X focus but the window manager has
// lost it as the active window on two reads running, the focus is given to the window afresh.
void mendLostActivation();

// Classic SDL 1.2 in full screen, on a screen without the mode asked for, shows its drawing
// window at the mode's size amid black, centred in the full-screen window; grown to the
// largest box of the mode's shape there (filledBox, again each time SDL centres it anew), it
// fills the screen. Returns the size the drawing window has now; `mode` where there is
// nothing to read (no X11, sdl12-compat).
WindowSize fillFullScreen(WindowSize mode);

// fillFullScreen grew the drawing window since the last mode set.
bool fullScreenFilled();

// Where fillFullScreen grew the drawing window: the pointer in it, which SDL 1.2 would clip to
// the mode's size. False elsewhere, where SDL's own position holds.
bool pointerInFilledWindow(int& x, int& y);

// The managed window's size as the X server has it now; {0, 0} where it cannot be read.
WindowSize managedWindowSize();
