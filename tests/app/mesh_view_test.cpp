#include "app/mesh_view.h"

#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
