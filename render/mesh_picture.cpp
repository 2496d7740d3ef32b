#include "render/mesh_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A patch averages about this many faces, few enough to keep a face's detail, enough that
// hardly any patch is left empty.
constexpr std::size_t facesPerPatch = 4;
// 1,572,864 patches, in an 8 MB texture: at step 18 each the mean of five faces.
constexpr int maxPatchesPerSide = 512;
// The sphere that carries the texture: so many quads across each cube side, drawn per frame.
constexpr int quadsPerSide = 16;

constexpr Rgb meanColour = {235, 235, 235};
constexpr Rgb smallColour = {40, 90, 255};
constexpr Rgb largeColour = {255, 60, 30};
constexpr Rgb emptyPatchColour = {128, 128, 128};

constexpr double quarterPi = 0.7853981633974483;

// The colours span two thirds of the mean to one and a half times it: the ratios a refined
// sphere's faces keep are well inside it, and a fixed span lets steps be compared by eye.
constexpr double spanLog2 = 0.5849625007211562;  // log2(1.5)

uint8_t mix(uint8_t from, uint8_t to, double amount) {
  return static_cast<uint8_t>(std::lround(from + (to - from) * amount));
}

Rgb mix(const Rgb& from, const Rgb& to, double amount) {
  return {mix(from.red, to.red, amount), mix(from.green, to.green, amount),
          mix(from.blue, to.blue, amount)};
}

void addPosition(MeshPicture& picture, const Vector3& position) {
  picture.positions.insert(picture.positions.end(),
                           {static_cast<float>(position.x), static_cast<float>(position.y),
                            static_cast<float>(position.z)});
}

void addVertex(MeshPicture& picture, const Vector3& position, const Rgb& colour) {
  addPosition(picture, position);
  picture.colours.insert(picture.colours.end(), {colour.red, colour.green, colour.blue, 255});
}

// Side 0..5: +x, -x, +y, -y, +z, -z. The two coordinates across a side, in the order that
// makes (across0, across1, outward) right-handed.
struct CubeSide {
  int axis;
  double sign;
};

CubeSide cubeSide(int side) {
  return {side / 2, side % 2 == 0 ? 1.0 : -1.0};
}

double component(const Vector3& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

Vector3 fromSide(int axis, double outward, double across0, double across1) {
  if (axis == 0) return {outward, across0, across1};
  if (axis == 1) return {across1, outward, across0};
  return {across0, across1, outward};
}

// Grid line k of `side` lines, in angle, as a coordinate on the cube's side.
double gridCoordinate(int k, int patchesPerSide) {
  return std::tan((-1.0 + 2.0 * k / patchesPerSide) * quarterPi);
}

int gridCell(double across, int patchesPerSide) {
  const double angle = std::atan(across) / quarterPi;  // -1 to 1
  const int cell = static_cast<int>((angle + 1.0) * 0.5 * patchesPerSide);
  return std::clamp(cell, 0, patchesPerSide - 1);
}

std::string count(std::size_t n) {
  return std::to_string(n);
}

}  // namespace

Rgb areaColour(double relativeArea) {
  if (!(relativeArea > 0.0)) return smallColour;
  const double steps = std::clamp(std::log2(relativeArea) / spanLog2, -1.0, 1.0);
  return steps < 0 ? mix(meanColour, smallColour, -steps) : mix(meanColour, largeColour, steps);
}

uint64_t patchBytes(int patchesPerSide) {
  const uint64_t patches = 6 * uint64_t(patchesPerSide) * patchesPerSide;
  uint64_t tile = 1;
  while (tile < uint64_t(patchesPerSide)) tile *= 2;
  const uint64_t quadVertices = 6 * quadsPerSide * quadsPerSide * 4;
  return patches * (sizeof(double) + sizeof(uint32_t)) + 2 * (8 * tile * tile * 4) +
         quadVertices * (pictureVertexBytes + 2 * sizeof(float));
}

PictureChoice choosePicture(std::size_t faceCount, std::size_t triangleBudget, uint64_t roomBytes) {
  if (faceCount <= triangleBudget && everyFaceBytes(faceCount) <= roomBytes) {
    return {PictureKind::everyFace, PictureReason::fits, 0};
  }
  const PictureReason reason =
      faceCount > triangleBudget ? PictureReason::tooManyFaces : PictureReason::noRoom;
  int side = 1;
  while (side < maxPatchesPerSide &&
         6 * static_cast<std::size_t>(side + 1) * (side + 1) * facesPerPatch <= faceCount &&
         patchBytes(side + 1) <= roomBytes) {
    ++side;
  }
  return {PictureKind::patches, reason, side};
}

void addFace(MeshPicture& picture, const Vector3& p, const Vector3& q, const Vector3& r,
             double relativeArea) {
  const Rgb colour = areaColour(relativeArea);
  addVertex(picture, p, colour);
  addVertex(picture, q, colour);
  addVertex(picture, r, colour);
}

PatchSums emptyPatchSums(int patchesPerSide) {
  const std::size_t patches = 6 * static_cast<std::size_t>(patchesPerSide) * patchesPerSide;
  return {patchesPerSide, std::vector<double>(patches, 0.0), std::vector<uint32_t>(patches, 0)};
}

std::size_t patchOf(const Vector3& direction, int patchesPerSide) {
  int axis = 0;
  for (int a = 1; a < 3; ++a) {
    if (std::fabs(component(direction, a)) > std::fabs(component(direction, axis))) axis = a;
  }
  const double outward = component(direction, axis);
  // The centre itself, or a direction with a NaN, has no side: the first patch takes it.
  if (!(std::fabs(outward) > 0.0)) return 0;
  const int side = 2 * axis + (outward < 0 ? 1 : 0);
  const double scale = 1.0 / std::fabs(outward);
  const double across0 = component(direction, (axis + 1) % 3) * scale;
  const double across1 = component(direction, (axis + 2) % 3) * scale;
  const auto n = static_cast<std::size_t>(patchesPerSide);
  return (side * n + gridCell(across1, patchesPerSide)) * n + gridCell(across0, patchesPerSide);
}

void addToPatch(PatchSums& sums, const Vector3& centroid, double relativeArea) {
  const std::size_t patch = patchOf(centroid, sums.side);
  sums.sums.at(patch) += relativeArea;
  sums.counts.at(patch) += 1;
}

Texel texelOf(std::size_t patch, int patchesPerSide, int tileTexels) {
  const auto n = static_cast<std::size_t>(patchesPerSide);
  const auto side = static_cast<int>(patch / (n * n));
  const auto row = static_cast<int>(patch / n % n);
  const auto column = static_cast<int>(patch % n);
  return {side % 4 * tileTexels + column, side / 4 * tileTexels + row};
}

void addPatches(MeshPicture& picture, const PatchSums& sums) {
  const int n = sums.side;
  int tile = 1;
  while (tile < n) tile *= 2;
  picture.tileTexels = tile;
  picture.texels.assign(
      static_cast<std::size_t>(textureWidth(picture)) * textureHeight(picture) * 4, 0);
  for (std::size_t patch = 0; patch < sums.counts.size(); ++patch) {
    const uint32_t faces = sums.counts.at(patch);
    if (faces == 0) ++picture.emptyPatches;
    const Rgb colour = faces == 0 ? emptyPatchColour : areaColour(sums.sums.at(patch) / faces);
    const Texel texel = texelOf(patch, n, tile);
    const std::size_t at =
        (static_cast<std::size_t>(texel.row) * textureWidth(picture) + texel.column) * 4;
    picture.texels.at(at) = colour.red;
    picture.texels.at(at + 1) = colour.green;
    picture.texels.at(at + 2) = colour.blue;
    picture.texels.at(at + 3) = 255;
  }
  // The quads' corners lie on the texel grid's lines, so a quad's texture runs from line to
  // line: within a quad the angle is nearly linear, and its patches land within a texel.
  const float du = 1.0f / textureWidth(picture);
  const float dv = 1.0f / textureHeight(picture);
  for (int side = 0; side < 6; ++side) {
    const CubeSide cube = cubeSide(side);
    for (int j = 0; j < quadsPerSide; ++j) {
      for (int i = 0; i < quadsPerSide; ++i) {
        Vector3 corners[4];
        float u[4];
        float v[4];
        const int di[4] = {0, 1, 1, 0};
        const int dj[4] = {0, 0, 1, 1};
        for (int c = 0; c < 4; ++c) {
          const double across0 = static_cast<double>(i + di[c]) / quadsPerSide;
          const double across1 = static_cast<double>(j + dj[c]) / quadsPerSide;
          corners[c] = fromSide(cube.axis, cube.sign, gridCoordinate(i + di[c], quadsPerSide),
                                gridCoordinate(j + dj[c], quadsPerSide));
          normalize(corners[c]);
          u[c] = static_cast<float>(side % 4 * tile + across0 * n) * du;
          v[c] = static_cast<float>(side / 4 * tile + across1 * n) * dv;
        }
        int order[4] = {0, 1, 2, 3};
        // On a negative side the same grid runs the other way round.
        if (dot(cross(corners[1] - corners[0], corners[2] - corners[0]), corners[0]) < 0) {
          std::swap(order[1], order[3]);
        }
        for (const int c : order) {
          addPosition(picture, corners[c]);
          picture.textureCoordinates.insert(picture.textureCoordinates.end(), {u[c], v[c]});
        }
      }
    }
  }
}

std::string pictureWords(const MeshPicture& picture) {
  if (picture.faceCount == 0) return "Mesh view: the mesh has no faces";
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%.4g", picture.largestArea / picture.smallestArea);
  const std::string faces = count(picture.faceCount) + " faces";
  const std::string areas = "largest/smallest area " + std::string(ratio);
  if (picture.choice.kind == PictureKind::everyFace) {
    return "Mesh view: all " + faces + ", coloured by area against the mean; " + areas;
  }
  const std::size_t side = static_cast<std::size_t>(picture.choice.patchesPerSide);
  const std::string why = picture.choice.reason == PictureReason::noRoom
                              ? ", whose arrays would not fit in memory"
                              : ", more than a frame can draw";
  const std::string empty = picture.emptyPatches == 0
                                ? ""
                                : " (" + count(picture.emptyPatches) + " without a face, grey)";
  return "Mesh view: " + faces + why + ": shown as " + count(6 * side * side) + " patches" + empty +
         ", each coloured by the mean relative area of the faces centred in it; " + areas;
}

Legend meshLegend(const MeshPicture& picture, int windowWidth) {
  constexpr int swatches = 32;
  constexpr int margin = 16;
  const int barWidth = std::clamp(windowWidth / 4, swatches, 256);
  const int swatchWidth = barWidth / swatches;
  const int height = 12;
  Legend legend;
  for (int s = 0; s < swatches; ++s) {
    // Each swatch the colour of its middle, evenly in the logarithm across the span.
    const double steps = -1.0 + 2.0 * (s + 0.5) / swatches;
    legend.swatches.push_back({margin + s * swatchWidth, margin, swatchWidth, height,
                               areaColour(std::exp2(steps * spanLog2))});
  }
  legend.top = margin + height;
  legend.labels = {"Face area against the mean: blue 2/3 or less, red 3/2 or more",
                   pictureWords(picture)};
  return legend;
}
