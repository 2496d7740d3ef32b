#pragma once
// What the program asks of Xlib itself, loaded at run time so the build needs no X11: how
// many monitors there are, and its own word where Xlib would end the process.

// The number of Xinerama heads of $DISPLAY's X server; 1 where Xinerama is off; -1 where it
// cannot be told (no display, or no libX11 or libXinerama on the machine).
int countXineramaHeads();

// Before SDL starts, which passes on to these what it does not handle itself: after an X
// error (the server refusing a request, such as a GL context a broken driver asked for) the
// program goes on, so the call that made it fails as SDL reports; a lost connection ends the
// run with its own line and status. Without libX11 nothing is installed.
void installXlibHandlers();
