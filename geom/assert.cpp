#include "geom/assert.h"

#include <stdexcept>

void failAssertion() {
  throw std::runtime_error("Custom my_assert failed");
}
