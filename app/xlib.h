#pragma once
// What the program asks of Xlib itself, loaded at run time so the program links no X library:
// how many monitors there are, and its own word on the X server's errors and a lost connection.

#include <vector>

// The number of Xinerama heads of $DISPLAY's X server; 1 where Xinerama is off; -1 where it
// cannot be told (no display, or no libX11 or libXinerama on the machine).
int countXineramaHeads();

// Before SDL starts, which passes on to these what it does not handle itself. An X error is
// noted and the call that made it returns; endOnPendingXError ends the run after one that
// must. A lost connection ends the run at once with its own line and status. Without libX11
// nothing is installed.
void installXlibHandlers();

// While one lives SDL sets a video mode, where the server may refuse the GL context a broken
// driver asks for: the call fails, and the program says why in its own words.
class OpeningWindow {
 public:
  OpeningWindow();
  ~OpeningWindow();
  OpeningWindow(const OpeningWindow&) = delete;
  OpeningWindow& operator=(const OpeningWindow&) = delete;
};

// The windows SDL made for the program: an error naming one of them means it was destroyed.
void setOwnWindows(const std::vector<unsigned long>& windows);

// Where an X error since the last call ends the run: its line on standard error and its
// status, through run_end. Returns otherwise.
void endOnPendingXError();
