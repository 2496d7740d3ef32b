// The vector operations are inline in geom/vector.h; this unit keeps the
// header compiled on its own so a missing include shows up here first.
#include "geom/vector.h"
