#pragma once
// The mesh view's picture made from the mesh: each face's area against the step's mean, in
// the arrays of every face or, where those are too many or too big, in coarser patches.

#include <cstddef>
#include <cstdint>

#include "mesh/mesh.h"
#include "mesh/progress.h"
#include "render/mesh_picture.h"

// The passes that report to a progress, in the order they run.
constexpr const char* measuringFacesPass = "measuring faces";
constexpr const char* buildingPicturePass = "building the picture";
constexpr const char* meshPicturePasses[] = {measuringFacesPass, buildingPicturePass};

// Reads every face twice, through checked access: its area, then its corners and colour.
// `roomBytes` is what the arrays may take; past it, or past `triangleBudget` faces, the picture
// is patches.
MeshPicture meshPicture(const Mesh& mesh, std::size_t triangleBudget,
                        uint64_t roomBytes = UINT64_MAX, StepProgress* progress = nullptr);
