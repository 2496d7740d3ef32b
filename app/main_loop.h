#pragma once
// The interactive loop: drain the events, time the frame, run the input step and
// render, until a quit event or Escape.

void runMainLoop();
