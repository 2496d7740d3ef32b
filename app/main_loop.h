#pragma once
// The interactive loop: take the events, time the frame, run the input step and render,
// until a request to quit; it rests while the window is hidden.

// Returns when the run ends, or ends the run itself where the user quits during a
// refinement step. A failed write to standard output is said on standard error once.
void runMainLoop();
