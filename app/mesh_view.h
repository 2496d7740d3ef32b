#pragma once
// The m key's view of the refined mesh: whether it is shown, and its picture, made again only
// after the mesh changed and only while the view is shown.

#include <cstddef>
#include <cstdint>
#include <ostream>

#include "app/window_text.h"
#include "mesh/memory_room.h"
#include "mesh/mesh.h"
#include "mesh/progress.h"
#include "render/mesh_picture.h"

// The most faces a frame draws one by one. Mesa's software GL on two shared cores drew step
// 10's 30,720 faces at 26 to 54 frames a second, step 12's 122,880 at 9 to 16 (frame_bench,
// a machine under load); past it the view shows the patches' texture, whose cost is the
// window's pixels, not the faces.
constexpr std::size_t meshViewTriangleBudget = 40000;

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

// The legend's words in the lower left corner, just above its colour bar.
CornerText legendCorner(const Legend& legend);
