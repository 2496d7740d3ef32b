// The navigation helpers are inline in mesh/mesh.h; the editing, checking and
// refinement operations live in the files named after them.
#include "mesh/mesh.h"
