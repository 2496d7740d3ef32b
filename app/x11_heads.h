#pragma once
// How many monitors (Xinerama heads) the X server of $DISPLAY shows, asked before SDL
// starts, through Xlib and libXinerama loaded at run time so the program needs neither.

// The number of heads; 1 where Xinerama is off; -1 where it cannot be told (no display,
// or no libX11 or libXinerama on the machine).
int countXineramaHeads();
