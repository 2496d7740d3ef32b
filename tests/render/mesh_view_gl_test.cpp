#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "app/mesh_picture.h"
#include "mesh/refine.h"
#include "mesh/statistics.h"
#include "render/mesh_view.h"
#include "startup/start_mesh.h"
#include "tests/render/gl_window.h"

namespace {

constexpr int side = 512;
constexpr double halfView = 1.1;  // the unit sphere and a margin, in an orthographic view

Mesh refinedMesh(int steps) {
  Mesh mesh;
  Refinement refinement;
  std::ostringstream out;
  std::istringstream in;
  buildStartMesh(mesh, out);
  for (int step = 0; step < steps; ++step) refineStep(mesh, refinement, MemoryRoom{}, out, in);
  return mesh;
}

// The rotation that turns `toward` to the viewer (+z), column-major for GL.
std::vector<double> lookingAlong(const Vector3& toward) {
  const Vector3 z = normalized(toward);
  const Vector3 helper = std::fabs(z.x) < 0.9 ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
  const Vector3 x = normalized(cross(helper, z));
  const Vector3 y = cross(z, x);
  return {x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, 0, 0, 0, 1};
}

// Drawn unlit in an orthographic view, every face of a mesh of 960 shows its own area's colour
// at its centroid, seen from the one of six sides that it faces most.
TEST(MeshView, DrawsEveryFaceInItsAreasColour) {
  useTestWindow(side, side);
  const Mesh mesh = refinedMesh(5);
  const MeshPicture picture = meshPicture(mesh, mesh.faces.size());
  ASSERT_EQ(picture.choice.kind, PictureKind::everyFace);
  double areaSum = 0;
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    const float* p = &picture.positions.at(9 * f);
    areaSum += triangleArea({p[0], p[1], p[2]}, {p[3], p[4], p[5]}, {p[6], p[7], p[8]});
  }
  const double meanArea = areaSum / static_cast<double>(mesh.faces.size());
  const Vector3 views[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  std::size_t facesSeen = 0;
  for (const Vector3& view : views) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfView, halfView, -halfView, halfView, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    const std::vector<double> rotation = lookingAlong(view);
    glLoadMatrixd(rotation.data());
    drawMeshPicture(picture);
    swapAndKeepImage();
    const Image& shown = lastShownImage();
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
      const float* p = &picture.positions.at(9 * f);
      const Vector3 a = {p[0], p[1], p[2]}, b = {p[3], p[4], p[5]}, c = {p[6], p[7], p[8]};
      const Vector3 centroid = ((a + b) + c) * (1.0 / 3);
      // Only from the side the face turns to most: there it is large and not at the rim.
      double best = -2;
      Vector3 bestView = views[0];
      for (const Vector3& other : views) {
        if (dot(normalized(centroid), other) > best) {
          best = dot(normalized(centroid), other);
          bestView = other;
        }
      }
      if (bestView.x != view.x || bestView.y != view.y || bestView.z != view.z) continue;
      const std::vector<double>& m = rotation;
      const double x = m[0] * centroid.x + m[4] * centroid.y + m[8] * centroid.z;
      const double y = m[1] * centroid.x + m[5] * centroid.y + m[9] * centroid.z;
      const int column = static_cast<int>((x + halfView) / (2 * halfView) * side);
      const int row = static_cast<int>((y + halfView) / (2 * halfView) * side);
      const Rgb expected = areaColour(triangleArea(a, b, c) / meanArea);
      EXPECT_EQ(shown.at(column, row, 0), expected.red) << "face " << f;
      EXPECT_EQ(shown.at(column, row, 1), expected.green) << "face " << f;
      EXPECT_EQ(shown.at(column, row, 2), expected.blue) << "face " << f;
      ++facesSeen;
    }
  }
  EXPECT_EQ(facesSeen, mesh.faces.size());
  glEnable(GL_LIGHTING);
}

}  // namespace
