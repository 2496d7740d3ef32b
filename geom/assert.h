#pragma once
// The one invariant check of the program: a false condition throws
// std::runtime_error("Custom my_assert failed"), which nothing catches.

void my_assert(bool condition);
