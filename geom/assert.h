#pragma once
// The one invariant check of the program: a false condition throws
// std::runtime_error("Custom my_assert failed"), which nothing catches.

// Out of line and cold, so a check costs its callers one well-predicted branch.
[[noreturn]] void failAssertion();

inline void my_assert(bool condition) {
  if (condition) return;
  failAssertion();
}
