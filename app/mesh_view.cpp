#include "app/mesh_view.h"

#include <algorithm>

#include "app/mesh_picture.h"

void forgetMeshPicture(MeshView& view) {
  view.picture = MeshPicture{};
  view.current = false;
}

uint64_t spareBytes(const MemoryRoom& room) {
  const uint64_t tightest = std::min({room.cgroup, room.available, room.addressSpace});
  return tightest > memorySafetyMargin ? tightest - memorySafetyMargin : 0;
}

void updateMeshView(MeshView& view, bool toggled, const Mesh& mesh, const MemoryRoom& room,
                    StepProgress* progress, std::ostream& words) {
  if (toggled) view.shown = !view.shown;
  if (!view.shown) return;
  const bool rebuild = !view.current;
  if (rebuild) {
    forgetMeshPicture(view);
    view.picture = meshPicture(mesh, meshViewTriangleBudget, spareBytes(room), progress);
    view.current = true;
  }
  if (rebuild || toggled) words << pictureWords(view.picture) << std::endl;
}

CornerText legendCorner(const Legend& legend) {
  constexpr int gapAboveBar = 4;
  CornerText text{Corner::bottomLeft, {}, legend.top + gapAboveBar};
  for (const std::string& label : legend.labels) text.lines.push_back({label, {}});
  return text;
}
