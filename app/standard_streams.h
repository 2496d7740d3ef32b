#pragma once
// Descriptors 0, 1 and 2 closed at start would be taken by the first file or socket opened
// (the X connection among them), and the program's lines would go there.

// Opens each of the three that is closed on /dev/null. Called before anything else opens.
void openClosedStandardStreams();
