#pragma once
// The refined mesh as the window shows it: every face, or where a frame cannot draw every face
// a texture of patches on the sphere, each coloured by the area of its faces against the
// step's mean, in arrays GL draws as they are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "geom/vector.h"

struct Rgb {
  uint8_t red, green, blue;
};

// Blue below the mean, near white at it, red above, even steps in the logarithm: two thirds
// of the mean and less are full blue, one and a half times the mean and more full red.
Rgb areaColour(double relativeArea);

enum class PictureKind {
  everyFace,  // one triangle per face
  patches,    // a texture on the sphere, each texel the mean of the faces centred in it
};

enum class PictureReason {
  fits,          // every face is drawn
  tooManyFaces,  // more triangles than a frame may draw
  noRoom,        // the arrays of every face would not fit in memory
};

struct PictureChoice {
  PictureKind kind;
  PictureReason reason;
  int patchesPerSide;  // texels across each side of a cube around the sphere; 0 for every face
};

// Each vertex: three floats of position, which is also its normal on the unit sphere, and four
// bytes of colour.
constexpr uint64_t pictureVertexBytes = 3 * sizeof(float) + 4;

// What the arrays of every face take.
inline uint64_t everyFaceBytes(std::size_t faceCount) {
  return uint64_t{faceCount} * 3 * pictureVertexBytes;
}

// What patches of `patchesPerSide` take while they are made and shown: their sums, texture (in
// the picture and in GL) and the quads that carry it.
uint64_t patchBytes(int patchesPerSide);

// Every face where there are at most `triangleBudget` and their arrays take at most
// `roomBytes`; otherwise patches, as many as leave each the mean of four faces or so, never
// more than 512 a side (an 8 MB texture), and fewer where they would not fit in `roomBytes`.
PictureChoice choosePicture(std::size_t faceCount, std::size_t triangleBudget, uint64_t roomBytes);

struct MeshPicture {
  PictureChoice choice = {PictureKind::everyFace, PictureReason::fits, 0};
  std::size_t faceCount = 0;
  double smallestArea = 0.0;
  double largestArea = 0.0;
  std::vector<float> positions;  // x, y, z per vertex: three per face, or four per quad of patches
  std::vector<uint8_t> colours;  // red, green, blue, alpha per vertex; every face only
  // The patches only: texture coordinates per vertex, and the texture, each cube side a tile
  // of a 4 x 2 grid of tiles of `tileTexels` squared, rows from the bottom.
  std::vector<float> textureCoordinates;
  std::vector<uint8_t> texels;   // red, green, blue, alpha
  int tileTexels = 0;            // a power of two at least patchesPerSide
  std::size_t emptyPatches = 0;  // patches no face is centred in, drawn grey
  // Set by the drawing once the texels are in GL's texture.
  mutable bool textureLoaded = false;
};

inline int textureWidth(const MeshPicture& picture) {
  return 4 * picture.tileTexels;
}
inline int textureHeight(const MeshPicture& picture) {
  return 2 * picture.tileTexels;
}

// Appends one face with its corners in the mesh's order and its area over the mean.
void addFace(MeshPicture& picture, const Vector3& p, const Vector3& q, const Vector3& r,
             double relativeArea);

// The faces' relative areas summed per patch, before the patches are drawn.
struct PatchSums {
  int side = 0;
  std::vector<double> sums;
  std::vector<uint32_t> counts;
};

PatchSums emptyPatchSums(int patchesPerSide);
// The patch a direction from the centre falls in: the cube side of its largest coordinate,
// then a grid even in angle, so patches near a side's corners are not much smaller.
std::size_t patchOf(const Vector3& direction, int patchesPerSide);
void addToPatch(PatchSums& sums, const Vector3& centroid, double relativeArea);
// Where patch `patch` of patchOf lies in the texture: texel column and row.
struct Texel {
  int column, row;
};
Texel texelOf(std::size_t patch, int patchesPerSide, int tileTexels);
// Fills the texture from the sums, and the sphere as a grid of quads, counter-clockwise seen
// from outside, carrying it.
void addPatches(MeshPicture& picture, const PatchSums& sums);

// What the window shows, in words: the lead line for the legend and the terminal.
std::string pictureWords(const MeshPicture& picture);

// The legend: a bar of the colours from two thirds of the mean to one and a half times it, in
// the lower left corner; its words are left as text for whatever draws words in the window,
// above the bar: what the colours mean, then the picture's words.
struct LegendSwatch {
  int x, y, width, height;  // window pixels from the lower left
  Rgb colour;
};
struct Legend {
  std::vector<LegendSwatch> swatches;
  std::vector<std::string> labels;
  int top = 0;  // the bar's upper edge, window pixels from the bottom
};
Legend meshLegend(const MeshPicture& picture, int windowWidth);
