#include "render/frame.h"

#include <GL/gl.h>

#include "render/figure.h"

namespace {

// Replaces the current matrix with the pose's.
void loadPose(const Pose& pose) {
  double matrix[16];
  poseMatrixColumnMajor(pose, matrix);
  glLoadMatrixd(matrix);
}

// The quad lies far outside the view at distance 1, so it covers every pixel; the
// blend leaves each at (1 - a) of its colour.
void fadeOldImage(double frameTime, const TrailImage& image, bool imageCovers) {
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // The saved image goes back here rather than right after the swap, where it is taken:
  // that would let blending follow lighting and culling directly, but on llvmpipe it
  // changed the first frame after a resize.
  if (imageCovers) restoreTrailImage(image);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, static_cast<float>(fadeAlpha(frameTime)));
  glBegin(GL_QUADS);
  glVertex3f(-100, -100, -1);
  glVertex3f(100, -100, -1);
  glVertex3f(100, 100, -1);
  glVertex3f(-100, 100, -1);
  glEnd();
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

void setRenderModes(const FrameState& state) {
  if (state.wireframe) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_LIGHTING);
  } else {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_LIGHTING);
  }
  if (state.cullBackFaces) {
    glEnable(GL_CULL_FACE);
  } else {
    glDisable(GL_CULL_FACE);
  }
}

}  // namespace

void applyGlState() {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glColor4f(1, 1, 1, 1);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
}

void startFrame(const Settings& settings, const FrameState& state, TrailImage& image,
                SwapBuffersFunction swapBuffers) {
  if (!settings.trails) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return;
  }
  if (image.copy == TrailCopy::undecided) image.copy = probeFrontBuffer(swapBuffers);
  forgetLostTexture(image);
  // A colour clear is needed only where no kept image will cover it; elsewhere every
  // pixel it wrote would be overwritten.
  const bool imageCovers = trailImageCovers(image, settings.windowWidth, settings.windowHeight);
  if (imageCovers) {
    glClear(GL_DEPTH_BUFFER_BIT);
  } else {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  fadeOldImage(state.frameTime, image, imageCovers);
}

void setView(const Settings& settings, const FrameState& state) {
  setRenderModes(state);
  glEnable(GL_DEPTH_TEST);
  glColor4f(1, 1, 1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_DIFFUSE, settings.lightDiffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, settings.lightSpecular);
  glLightfv(GL_LIGHT0, GL_AMBIENT, settings.lightAmbient);
  loadPose(inversePose(state.cameraPose));
  // After the viewer's matrix: the light's direction is fixed in the world.
  glLightfv(GL_LIGHT0, GL_POSITION, settings.lightPosition);
  glTranslated(0, 0, -3);
}

void finishFrame(const Settings& settings, TrailImage& image, SwapBuffersFunction swapBuffers,
                 const std::vector<PanelLayout>& panels, GlyphAtlas* atlas) {
  const int width = settings.windowWidth;
  const int height = settings.windowHeight;
  if (settings.trails) keepTrailImageBeforeSwap(image, width, height);
  // The texture path has kept the picture before the panels; the front buffer path copies
  // the shown picture back, panels and all, so what they cover goes back after the copy.
  const bool panelsShown = atlas != nullptr && atlas->glyphs.width != 0 && !panels.empty();
  const bool coverCopied = panelsShown && settings.trails && image.copy == TrailCopy::frontBuffer;
  CoveredPixels covered;
  if (coverCopied) covered = keepCoveredPixels(panels, width, height);
  if (panelsShown) drawPanels(panels, *atlas, width, height);
  swapBuffers();
  if (settings.trails) {
    keepTrailImageAfterSwap(image, width, height);
  }
  if (coverCopied) putBackCoveredPixels(covered, width, height);
}

void renderFrame(const Settings& settings, const FrameState& state, TrailImage& image,
                 SwapBuffersFunction swapBuffers, std::ostream& out) {
  startFrame(settings, state, image, swapBuffers);
  setView(settings, state);
  drawFigure(0.75, state.frameTime, out);
  finishFrame(settings, image, swapBuffers);
}

void renderFrame(const Settings& settings, const FrameState& state, TrailImage& image,
                 SwapBuffersFunction swapBuffers, std::ostream& out,
                 const std::vector<PanelLayout>& panels, GlyphAtlas& atlas) {
  startFrame(settings, state, image, swapBuffers);
  setView(settings, state);
  drawFigure(0.75, state.frameTime, out);
  finishFrame(settings, image, swapBuffers, panels, &atlas);
}

void renderFrame(const Settings& settings, const FrameState& state, SwapBuffersFunction swapBuffers,
                 std::ostream& out) {
  renderFrame(settings, state, trailImage, swapBuffers, out);
}
