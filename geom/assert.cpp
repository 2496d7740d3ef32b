#include "geom/assert.h"

#include <stdexcept>

void my_assert(bool condition) {
  if (condition) return;
  throw std::runtime_error("Custom my_assert failed");
}
