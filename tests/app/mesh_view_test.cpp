#include "app/mesh_view.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/mesh_picture.h"
#include "startup/start_mesh.h"

namespace {

// The picture is made on showing and after the mesh changed, not every frame; the words come
// with each new picture and each showing, and nothing is made while the figure is shown.
TEST(MeshView, PictureMadeOncePerShowingOrChange) {
  Mesh mesh;
  std::ostringstream ignored;
  buildStartMesh(mesh, ignored);
  MeshView view;
  std::ostringstream words;
  const auto frame = [&](bool toggled) {
    words.str("");
    updateMeshView(view, toggled, mesh, MemoryRoom{}, nullptr, words);
  };
  frame(false);
  EXPECT_TRUE(view.picture.positions.empty());
  frame(true);
  EXPECT_EQ(view.picture.positions.size(), 20u * 9);
  EXPECT_EQ(words.str(), pictureWords(view.picture) + "\n");
  view.picture.faceCount = 99;  // a mark that a new picture would not keep
  frame(false);
  EXPECT_EQ(view.picture.faceCount, 99u);
  EXPECT_EQ(words.str(), "");
  forgetMeshPicture(view);
  EXPECT_TRUE(view.picture.positions.empty());
  frame(false);
  EXPECT_EQ(view.picture.faceCount, 20u);
  EXPECT_NE(words.str(), "");
  frame(true);
  EXPECT_FALSE(view.shown);
  forgetMeshPicture(view);
  frame(false);
  EXPECT_TRUE(view.picture.positions.empty());
}

// The legend's words sit in the lower left corner above its bar, clear of it, wrapped where
// they would run past half the window.
TEST(MeshView, LegendWordsAboveTheBar) {
  Mesh mesh;
  std::ostringstream ignored;
  buildStartMesh(mesh, ignored);
  const MeshPicture picture = meshPicture(mesh, meshViewTriangleBudget);
  const Legend legend = meshLegend(picture, 1024);
  FontMetrics font{15, 15, 18, {}};
  for (int c = 32; c < 127; ++c) font.advance[c] = 8;
  const std::vector<PanelLayout> panels =
      windowPanels(false, {}, {legendCorner(legend)}, {}, 1024, 768, 0.0, font);
  ASSERT_EQ(panels.size(), 1u);
  EXPECT_GT(panels[0].y, legend.top);
  std::string words;
  for (const TextRun& run : panels[0].runs) {
    EXPECT_LE(textWidth(run.text, font), 512) << run.text;
    words += (words.empty() ? "" : " ") + run.text;
  }
  EXPECT_EQ(words, legend.labels.front() + " " + pictureWords(picture));
}

}  // namespace
