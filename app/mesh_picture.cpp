#include "app/mesh_picture.h"

#include "mesh/statistics.h"

namespace {

struct Corners {
  Vector3 p, q, r;
};

Corners cornersOf(const Mesh& mesh, std::size_t face) {
  const int32_t e0 = mesh.faces.at(face).edge;
  const int32_t e1 = mesh.nextEdge(e0);
  const int32_t e2 = mesh.nextEdge(e1);
  return {mesh.position(mesh.edges.at(e0).vertex), mesh.position(mesh.edges.at(e1).vertex),
          mesh.position(mesh.edges.at(e2).vertex)};
}

double areaOf(const Corners& corners) {
  return triangleArea(corners.p, corners.q, corners.r);
}

}  // namespace

MeshPicture meshPicture(const Mesh& mesh, std::size_t triangleBudget, uint64_t roomBytes,
                        StepProgress* progress) {
  MeshPicture picture;
  const std::size_t faceCount = mesh.faces.size();
  picture.faceCount = faceCount;
  if (faceCount == 0) return picture;

  AreaRange range;
  double areaSum = 0.0;
  for (std::size_t f = 0; f < faceCount; ++f) {
    const double area = areaOf(cornersOf(mesh, f));
    includeArea(range, area);
    areaSum += area;
    reportProgress(progress, measuringFacesPass, f, faceCount);
  }
  picture.smallestArea = range.minArea;
  picture.largestArea = range.maxArea;
  const double meanArea = areaSum / static_cast<double>(faceCount);

  picture.choice = choosePicture(faceCount, triangleBudget, roomBytes);
  if (picture.choice.kind == PictureKind::everyFace) {
    picture.positions.reserve(faceCount * 9);
    picture.colours.reserve(faceCount * 12);
    for (std::size_t f = 0; f < faceCount; ++f) {
      const Corners corners = cornersOf(mesh, f);
      addFace(picture, corners.p, corners.q, corners.r, areaOf(corners) / meanArea);
      reportProgress(progress, buildingPicturePass, f, faceCount);
    }
  } else {
    PatchSums sums = emptyPatchSums(picture.choice.patchesPerSide);
    for (std::size_t f = 0; f < faceCount; ++f) {
      const Corners corners = cornersOf(mesh, f);
      addToPatch(sums, (corners.p + corners.q) + corners.r, areaOf(corners) / meanArea);
      reportProgress(progress, buildingPicturePass, f, faceCount);
    }
    addPatches(picture, sums);
  }
  if (progress != nullptr) progress->finished();
  return picture;
}
