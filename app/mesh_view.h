#pragma once
// The m key's view of the refined mesh: whether it is shown, and its picture, made again only
// after the mesh changed and only while the view is shown.

#include <cstddef>
#include <cstdint>
#include <ostream>

#include "mesh/memory_room.h"
#include "mesh/mesh.h"
#include "mesh/progress.h"
#include "render/mesh_picture.h"

// The most triangles a frame draws: Mesa's software GL on two cores draws step 15's 983,040
// faces at about 15 frames a second; past that the view shows patches.
constexpr std::size_t meshViewTriangleBudget = 1000000;

struct MeshView {
  bool shown = false;
  bool current = false;  // the picture is the mesh's as it is now
  MeshPicture picture;
};

// Shown with a picture made before the mesh last changed.
inline bool meshViewStale(const MeshView& view) {
  return view.shown && !view.current;
}

// Before the mesh changes: the arrays are given back, so a step finds the room it would find
// without the view.
void forgetMeshPicture(MeshView& view);

// The bytes `room` leaves once the margin kept for everything else is set aside.
uint64_t spareBytes(const MemoryRoom& room);

// Where the view is shown and its picture is not current, makes it from `mesh` within `room`,
// and says in words on `words` what the window shows; also on showing the view again.
void updateMeshView(MeshView& view, bool toggled, const Mesh& mesh, const MemoryRoom& room,
                    StepProgress* progress, std::ostream& words);
