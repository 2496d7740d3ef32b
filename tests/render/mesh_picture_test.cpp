#include "render/mesh_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

bool sameRgb(const Rgb& a, const Rgb& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST(MeshPicture, AreaColourRunsFromBlueThroughWhiteToRed) {
  const Rgb mean = {235, 235, 235};
  const Rgb small = {40, 90, 255};
  const Rgb large = {255, 60, 30};
  const struct {
    double relativeArea;
    Rgb colour;
  } cases[] = {
      {1.0, mean},
      {1.5, large},
      {40.0, large},
      {2.0 / 3.0, small},
      {0.01, small},
      {0.0, small},                       // a collapsed face
      {-1.0, small},                      // cannot happen, but must not index outside the map
      {std::sqrt(1.5), {245, 148, 133}},  // half way in the logarithm
      {std::sqrt(2.0 / 3.0), {138, 163, 245}},
  };
  for (const auto& c : cases) {
    const Rgb got = areaColour(c.relativeArea);
    EXPECT_TRUE(sameRgb(got, c.colour))
        << c.relativeArea << ": " << int(got.red) << " " << int(got.green) << " " << int(got.blue);
  }
}

TEST(MeshPicture, EveryFaceWhileBudgetAndMemoryAllowElsePatches) {
  const uint64_t unlimited = UINT64_MAX;
  const struct {
    std::size_t faces, budget;
    uint64_t room;
    PictureKind kind;
    PictureReason reason;
    int side;
  } cases[] = {
      {491520, 1000000, everyFaceBytes(491520), PictureKind::everyFace, PictureReason::fits, 0},
      // Each patch averages four faces at least: 6 * 143 * 143 * 4 <= 491520.
      {491520, 1000000, everyFaceBytes(491520) - 1, PictureKind::patches, PictureReason::noRoom,
       143},
      {1000000, 1000000, unlimited, PictureKind::everyFace, PictureReason::fits, 0},
      {1000001, 1000000, unlimited, PictureKind::patches, PictureReason::tooManyFaces, 204},
      {7864320, 1000000, unlimited, PictureKind::patches, PictureReason::tooManyFaces, 512},
      // Where they would not fit, fewer patches.
      {7864320, 1000000, patchBytes(100), PictureKind::patches, PictureReason::tooManyFaces, 100},
      {7864320, 1000000, 0, PictureKind::patches, PictureReason::tooManyFaces, 1},
      {2000, 1000, unlimited, PictureKind::patches, PictureReason::tooManyFaces, 9},
      {10, 5, unlimited, PictureKind::patches, PictureReason::tooManyFaces, 1},
  };
  for (const auto& c : cases) {
    const PictureChoice choice = choosePicture(c.faces, c.budget, c.room);
    EXPECT_EQ(choice.kind, c.kind) << c.faces << " faces, budget " << c.budget;
    EXPECT_EQ(choice.reason, c.reason) << c.faces << " faces, budget " << c.budget;
    EXPECT_EQ(choice.patchesPerSide, c.side) << c.faces << " faces, budget " << c.budget;
  }
}

TEST(MeshPicture, PatchOfDirection) {
  const struct {
    Vector3 direction;
    std::size_t patch;  // (side * 4 + row) * 4 + column, with 4 patches a side
  } cases[] = {
      {{1, 0, 0}, 10},    {{-1, 0, 0}, 26},
      {{0, 0, -2}, 90},   {{1, 1, 1}, 15},  // a cube corner: ties go to x, the last row and column
      {{1, 1, 0.99}, 15}, {{0, 0, 0}, 0},   // the centre has no side
      {{NAN, 1, 0}, 0},                     // nor has a direction with a NaN
  };
  for (const auto& c : cases) {
    EXPECT_EQ(patchOf(c.direction, 4), c.patch)
        << c.direction.x << " " << c.direction.y << " " << c.direction.z;
  }
}

const uint8_t* texelAt(const MeshPicture& picture, Texel texel) {
  return &picture.texels.at(
      (static_cast<std::size_t>(texel.row) * textureWidth(picture) + texel.column) * 4);
}

// Each patch's texel holds the mean of the areas put into it, and each quad of the sphere
// carries the texels of the patches it covers, facing outwards. With as many patches as
// quads across a side, a quad covers one patch: the one its middle falls in.
TEST(MeshPicture, PatchesCarryTheirMeansWhereTheyLie) {
  const int side = 16;
  PatchSums sums = emptyPatchSums(side);
  ASSERT_EQ(sums.counts.size(), 6u * 16 * 16);
  for (std::size_t patch = 1; patch < sums.counts.size(); ++patch) {
    sums.sums[patch] = patch % 2 == 0 ? 3.0 : 1.0 + 1.0 / 1.5;
    sums.counts[patch] = 2;
  }
  MeshPicture picture;
  addPatches(picture, sums);
  EXPECT_EQ(picture.emptyPatches, 1u);
  ASSERT_EQ(picture.tileTexels, 16);
  ASSERT_EQ(picture.texels.size(), 64u * 32 * 4);
  for (std::size_t patch = 0; patch < sums.counts.size(); ++patch) {
    const uint8_t* texel = texelAt(picture, texelOf(patch, side, 16));
    const Rgb expected = patch == 0       ? Rgb{128, 128, 128}
                         : patch % 2 == 0 ? areaColour(1.5)
                                          : areaColour((1.0 + 1.0 / 1.5) / 2);
    EXPECT_TRUE(sameRgb({texel[0], texel[1], texel[2]}, expected)) << patch;
  }
  const std::size_t quads = picture.positions.size() / 12;
  ASSERT_EQ(quads, 6u * 16 * 16);
  ASSERT_EQ(picture.textureCoordinates.size(), quads * 8);
  for (std::size_t quad = 0; quad < quads; ++quad) {
    const float* p = &picture.positions[quad * 12];
    const float* t = &picture.textureCoordinates[quad * 8];
    const Vector3 corners[4] = {
        {p[0], p[1], p[2]}, {p[3], p[4], p[5]}, {p[6], p[7], p[8]}, {p[9], p[10], p[11]}};
    const Vector3 middle = ((corners[0] + corners[1]) + corners[2]) + corners[3];
    EXPECT_GT(dot(cross(corners[1] - corners[0], corners[2] - corners[0]), middle), 0) << quad;
    const Texel texel = texelOf(patchOf(middle, side), side, 16);
    EXPECT_EQ(static_cast<int>((t[0] + t[2] + t[4] + t[6]) / 4 * textureWidth(picture)),
              texel.column)
        << quad;
    EXPECT_EQ(static_cast<int>((t[1] + t[3] + t[5] + t[7]) / 4 * textureHeight(picture)), texel.row)
        << quad;
  }
}

TEST(MeshPicture, WordsSayWhatIsShownAndWhy) {
  MeshPicture picture;
  picture.faceCount = 60;
  picture.smallestArea = 0.2;
  picture.largestArea = 0.3;
  EXPECT_EQ(pictureWords(picture),
            "Mesh view: all 60 faces, coloured by area against the mean; largest/smallest area "
            "1.5");
  picture.faceCount = 7864320;
  picture.choice = {PictureKind::patches, PictureReason::tooManyFaces, 128};
  EXPECT_EQ(pictureWords(picture),
            "Mesh view: 7864320 faces, more than a frame can draw: shown as 98304 patches, each "
            "coloured by the mean relative area of the faces centred in it; largest/smallest "
            "area 1.5");
  picture.choice.reason = PictureReason::noRoom;
  EXPECT_NE(pictureWords(picture).find("whose arrays would not fit in memory: shown as 98304"),
            std::string::npos);
  EXPECT_EQ(pictureWords(MeshPicture{}), "Mesh view: the mesh has no faces");
}

TEST(MeshPicture, LegendRunsBlueToRedInsideTheWindow) {
  for (const int width : {1024, 100, 20}) {
    const Legend legend = meshLegend(MeshPicture{}, width);
    ASSERT_EQ(legend.swatches.size(), 32u);
    const Rgb first = legend.swatches.front().colour;
    const Rgb last = legend.swatches.back().colour;
    EXPECT_TRUE(first.blue > 200 && first.red < 60) << int(first.red);
    EXPECT_TRUE(last.red > 200 && last.blue < 60) << int(last.blue);
    for (std::size_t s = 1; s < legend.swatches.size(); ++s) {
      EXPECT_EQ(legend.swatches[s].x, legend.swatches[s - 1].x + legend.swatches[s].width);
      EXPECT_GE(legend.swatches[s].colour.red, legend.swatches[s - 1].colour.red);
    }
    EXPECT_GT(legend.swatches.front().width, 0);
    EXPECT_EQ(legend.swatches.back().y + legend.swatches.back().height, legend.top);
  }
}

}  // namespace
