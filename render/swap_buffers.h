#pragma once
// How render/ shows a finished frame without knowing the window system: the shell
// passes a function that swaps the buffers of its window.

using SwapBuffersFunction = void (*)();
