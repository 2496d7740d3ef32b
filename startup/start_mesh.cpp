#include "startup/start_mesh.h"

#include "startup/frame_matrix.h"
#include "startup/icosahedron.h"
#include "startup/start_output.h"

void buildStartMesh(Mesh& mesh, std::ostream& out) {
  // The tables use the computed corners, not the mesh: both come from the same list.
  const IcosahedronCorners corners = icosahedronCorners();
  fillIcosahedron(mesh, corners);
  writeStartOutput(faceFrames(corners), out);
}
