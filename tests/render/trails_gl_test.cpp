#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "render/figure.h"
#include "render/frame.h"
#include "render/panel.h"
#include "render/step_progress.h"
#include "tests/render/gl_window.h"

namespace {

constexpr int testWidth = 320;
constexpr int testHeight = 240;

const Pose facingFigure{{1, 0, 0, 0}, {0, 0, 0}};
const Pose facingAway{{0, 0, 1, 0}, {0, 0, 0}};  // half a turn about y: the figure is behind

FrameState frameFacing(const Pose& pose) {
  return {0.0, pose, false, false};
}

Image renderAndShow(const Settings& settings, const Pose& pose, TrailImage& image) {
  std::ostringstream out;
  renderFrame(settings, frameFacing(pose), image, swapAndKeepImage, out);
  return lastShownImage();
}

bool frontBufferReadable() {
  static const TrailCopy copy = [] {
    useTestWindow(testWidth, testHeight);
    return probeFrontBuffer(swapAndKeepImage);
  }();
  return copy == TrailCopy::frontBuffer;
}

// Pixels of the figure, left alone by the next frames, must lose (1 - 0.65) of their
// value per frame at frame time 0 and be nearly black eleven frames later. Only pixels
// inside `region` (lower-left corner at minX, minY) are looked at.
void expectFigureFades(const Settings& settings, TrailImage& image, int minX = 0, int minY = 0) {
  const Image lit = renderAndShow(settings, facingFigure, image);
  const Image once = renderAndShow(settings, facingAway, image);
  Image eleven = once;
  for (int frame = 2; frame <= 11; ++frame) eleven = renderAndShow(settings, facingAway, image);
  ASSERT_EQ(lit.width, settings.windowWidth);
  ASSERT_EQ(once.width, settings.windowWidth);

  int checked = 0;
  int wrong = 0;
  int brightest = 0;
  for (int y = minY; y < lit.height; ++y) {
    for (int x = minX; x < lit.width; ++x) {
      for (int channel = 0; channel < 3; ++channel) {
        const int before = lit.at(x, y, channel);
        if (before < 24) continue;
        ++checked;
        if (std::abs(once.at(x, y, channel) - 0.65 * before) > 1.0) {
          if (++wrong <= 5) {
            ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << channel << ": "
                          << before << " became " << once.at(x, y, channel);
          }
        }
        if (before > brightest) brightest = before;
        EXPECT_LT(eleven.at(x, y, channel), 0.01 * 255) << "pixel (" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << checked << " values";
  EXPECT_GT(checked, 200) << "the figure should cover the region";
  EXPECT_GE(brightest, 128);
}

// What the buffer held before a frame that keeps no image must not show: the buffer is
// filled white, and a frame facing away from the figure must come out black.
void expectNoLeftovers(const Settings& settings, TrailImage& image) {
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  const Image empty = renderAndShow(settings, facingAway, image);
  for (size_t k = 0; k < empty.rgb.size(); ++k) ASSERT_EQ(empty.rgb[k], 0) << "value " << k;
}

class TrailPath : public ::testing::Test {
 protected:
  void SetUp() override { settings = useTestWindow(testWidth, testHeight); }
  void TearDown() override { releaseTrailImage(image); }

  Settings settings{};
  TrailImage image;
};

}  // namespace

TEST_F(TrailPath, TextureCopyFadesEveryFrame) {
  image.copy = TrailCopy::texture;
  expectFigureFades(settings, image);
}

TEST_F(TrailPath, FrontBufferCopyFadesEveryFrame) {
  if (!frontBufferReadable()) GTEST_SKIP() << "the front buffer reads back stale here";
  settings = useTestWindow(testWidth, testHeight);
  image.copy = TrailCopy::frontBuffer;
  expectFigureFades(settings, image);
}

// A frame with no kept image to cover it, the first one and the first after a resize,
// shows nothing of what the buffer held.
TEST_F(TrailPath, TextureCopyFrameWithoutAKeptImageShowsNoLeftovers) {
  image.copy = TrailCopy::texture;
  expectNoLeftovers(settings, image);
  renderAndShow(settings, facingFigure, image);
  settings = useTestWindow(400, 300);
  expectNoLeftovers(settings, image);
}

// Whichever copy the first frame picks here, the picture fades as it should.
TEST_F(TrailPath, ChosenCopyFadesEveryFrame) {
  expectFigureFades(settings, image);
}

TEST_F(TrailPath, WithoutTrailsEveryFrameStartsCleared) {
  settings.trails = false;
  glClearColor(1, 1, 1, 1);  // leftovers the frame must not show
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  const Image empty = renderAndShow(settings, facingAway, image);
  const Image lit = renderAndShow(settings, facingFigure, image);
  const Image after = renderAndShow(settings, facingAway, image);
  int litValues = 0;
  for (size_t k = 0; k < lit.rgb.size(); ++k) {
    if (lit.rgb[k] > 24) ++litValues;
    ASSERT_EQ(empty.rgb[k], 0) << "value " << k;
    ASSERT_EQ(after.rgb[k], 0) << "value " << k;
  }
  EXPECT_GT(litValues, 1000);
  EXPECT_EQ(image.copy, TrailCopy::undecided) << "no trail copy without trails";
}

// A texture that went with a lost context (a name GL no longer knows): the next frame keeps
// nothing of it, no leftover shows, and the trail starts again with a texture made anew.
TEST_F(TrailPath, TextureLostWithItsContextIsMadeAgain) {
  image.copy = TrailCopy::texture;
  renderAndShow(settings, facingFigure, image);
  const GLuint lost = image.texture;
  glDeleteTextures(1, &lost);
  expectNoLeftovers(settings, image);
  expectFigureFades(settings, image);
}

// Growing the window puts the figure's middle outside the old size: the fading there
// shows that the copy follows the new size.
void expectCopyFollowsResize(TrailImage& image) {
  Settings settings = useTestWindow(160, 120);
  renderAndShow(settings, facingFigure, image);
  renderAndShow(settings, facingFigure, image);
  settings = useTestWindow(480, 360);
  expectFigureFades(settings, image, 160, 120);
}

TEST_F(TrailPath, TextureCopyFollowsAResize) {
  image.copy = TrailCopy::texture;
  expectCopyFollowsResize(image);
}

TEST_F(TrailPath, FrontBufferCopyFollowsAResize) {
  if (!frontBufferReadable()) GTEST_SKIP() << "the front buffer reads back stale here";
  image.copy = TrailCopy::frontBuffer;
  expectCopyFollowsResize(image);
}

// A long step's bar shows over the still picture, which stays as it was above the bar, and
// leaves nothing behind: the frame after the step fades the picture as if no bar had been.
void expectBarLeavesNoTrail(const Settings& settings, TrailCopy copy) {
  TrailImage reference;
  reference.copy = copy;
  renderAndShow(settings, facingFigure, reference);
  const Image expected = renderAndShow(settings, facingAway, reference);
  releaseTrailImage(reference);

  TrailImage image;
  image.copy = copy;
  const Image lit = renderAndShow(settings, facingFigure, image);
  StepProgressPicture picture;
  const int barRows = progressBar(testWidth, testHeight, 4, 0, 1.0).at(0).height;
  for (const double fraction : {0.3, 0.8}) {
    const auto bar = progressBar(testWidth, testHeight, 4, 1, fraction);
    showStepProgress(settings, image, bar, picture, swapAndKeepImage);
    const Image& shown = lastShownImage();
    int barDone = 0;
    for (int x = 0; x < testWidth; ++x) barDone += shown.at(x, 0, 2) == 255 ? 1 : 0;
    EXPECT_EQ(barDone, bar.at(1).width + bar.at(3).width) << "fraction " << fraction;
    const std::size_t rowValues = 3 * testWidth;
    EXPECT_TRUE(std::equal(shown.rgb.begin() + barRows * rowValues, shown.rgb.end(),
                           lit.rgb.begin() + barRows * rowValues))
        << "the picture above the bar changed";
  }
  endStepProgress(settings, image, picture);
  const Image after = renderAndShow(settings, facingAway, image);
  EXPECT_TRUE(after.rgb == expected.rgb) << "the bar left a trail";
  releaseTrailImage(image);
}

TEST_F(TrailPath, TextureCopyStepBarLeavesNoTrail) {
  expectBarLeavesNoTrail(settings, TrailCopy::texture);
}

TEST_F(TrailPath, FrontBufferCopyStepBarLeavesNoTrail) {
  if (!frontBufferReadable()) GTEST_SKIP() << "the front buffer reads back stale here";
  settings = useTestWindow(testWidth, testHeight);
  expectBarLeavesNoTrail(settings, TrailCopy::frontBuffer);
}

// Every glyph a solid 3x5 block on a 4-pixel pen, so the test needs no font file.
GlyphAtlas blockGlyphs() {
  GlyphAtlas atlas;
  GlyphImage& glyphs = atlas.glyphs;
  glyphs.width = 8;
  glyphs.height = 8;
  glyphs.alpha.assign(64, 0);
  for (int row = 1; row < 6; ++row) {
    for (int column = 1; column < 4; ++column) glyphs.alpha[8 * row + column] = 255;
  }
  glyphs.metrics = {13, 5, 8, {}};
  for (int c = 32; c < 127; ++c) {
    glyphs.boxes[c] = {1, 1, 3, 5, 0, 5};
    glyphs.metrics.advance[c] = 4;
  }
  return atlas;
}

// A panel over the figure: its glyphs white, its ground darkening the picture under it, the
// figure's own texture still bound after it, and nothing of it in the next frame, which fades
// the picture as if no panel had been.
void expectPanelLeavesNoTrail(const Settings& settings, TrailCopy copy) {
  TrailImage reference;
  reference.copy = copy;
  const Image lit = renderAndShow(settings, facingFigure, reference);
  const Image expected = renderAndShow(settings, facingAway, reference);
  releaseTrailImage(reference);

  GlyphAtlas atlas = blockGlyphs();
  PanelLayout panel;
  panel.x = 100;
  panel.y = 80;
  panel.width = 120;
  panel.height = 60;
  panel.runs.push_back({110, 100, "XXXX", {}});
  TrailImage image;
  image.copy = copy;
  std::ostringstream out;
  renderFrame(settings, frameFacing(facingFigure), image, swapAndKeepImage, out, {panel}, atlas);
  const Image shown = lastShownImage();
  int glyphPixels = 0;
  for (int x = 110; x < 126; ++x) glyphPixels += shown.at(x, 102, 0) == 255 ? 1 : 0;
  EXPECT_EQ(glyphPixels, 4 * 3);
  int darkened = 0;
  for (int y = 110; y < 140; ++y) {
    for (int x = 130; x < 220; ++x) {
      for (int channel = 0; channel < 3; ++channel) {
        const int before = lit.at(x, y, channel);
        if (before < 40) continue;
        ++darkened;
        EXPECT_NEAR(shown.at(x, y, channel), 0.2 * before, 1.5)
            << "pixel (" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_GT(darkened, 5) << "the figure should lie under the panel";
  EXPECT_TRUE(
      std::equal(shown.rgb.begin(), shown.rgb.begin() + 3 * testWidth * 79, lit.rgb.begin()))
      << "the picture below the panel changed";
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), figureTexture);

  const Image after = renderAndShow(settings, facingAway, image);
  EXPECT_TRUE(after.rgb == expected.rgb) << "the panel left a trail";
  releaseTrailImage(image);
  releaseAtlas(atlas);
}

TEST_F(TrailPath, TextureCopyPanelLeavesNoTrail) {
  expectPanelLeavesNoTrail(settings, TrailCopy::texture);
}

TEST_F(TrailPath, FrontBufferCopyPanelLeavesNoTrail) {
  if (!frontBufferReadable()) GTEST_SKIP() << "the front buffer reads back stale here";
  settings = useTestWindow(testWidth, testHeight);
  expectPanelLeavesNoTrail(settings, TrailCopy::frontBuffer);
}

TEST(FigureTexture, MadeOnceAndKeptAcrossAResize) {
  Settings settings = useTestWindow(testWidth, testHeight);
  TrailImage image;
  std::ostringstream first;
  renderFrame(settings, frameFacing(facingFigure), image, swapAndKeepImage, first);
  EXPECT_FALSE(textureWanted);
  EXPECT_TRUE(glIsTexture(figureTexture));
  settings = useTestWindow(400, 300);
  std::ostringstream later;
  renderFrame(settings, frameFacing(facingFigure), image, swapAndKeepImage, later);
  EXPECT_EQ(later.str(), "");
  EXPECT_TRUE(glIsTexture(figureTexture));
  // An earlier test in this process may have made it already.
  if (!first.str().empty()) {
    EXPECT_EQ(first.str(), "creating texture\ncreated texture\n");
  }
  releaseTrailImage(image);
}
