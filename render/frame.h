#pragma once
// One frame: trail fade or clear, render modes, light, viewer matrix, the figure,
// the swap and the trail copy. The swap comes from the shell, so render/ needs no SDL.

#include <cmath>
#include <ostream>

#include "geom/pose.h"
#include "render/panel.h"
#include "render/settings.h"
#include "render/trails.h"

struct FrameState {
  double frameTime;  // seconds, at most 0.1
  Pose cameraPose;
  bool wireframe;
  bool cullBackFaces;
};

// How much of the old image a trail frame takes away: the alpha of the fade quad.
// A longer frame fades a little more, so trails shorten when frames are slow.
inline double fadeAlpha(double frameSeconds) {
  return 0.35 * std::exp(frameSeconds);
}

// The fixed state every frame starts from: back faces culled, depth test, lighting
// with light 0, opaque white, one-sided lighting. Set at start and after each resize.
void applyGlState();

// The program's frame, keeping its trail image in the global trailImage.
void renderFrame(const Settings& settings, const FrameState& state, SwapBuffersFunction swapBuffers,
                 std::ostream& out);

// The same with a trail image of the caller's.
void renderFrame(const Settings& settings, const FrameState& state, TrailImage& image,
                 SwapBuffersFunction swapBuffers, std::ostream& out);

// The same with `panels` of text drawn over the picture, which leave no trail: the next frame
// starts from the picture without them. Without panels, the very frame above.
void renderFrame(const Settings& settings, const FrameState& state, TrailImage& image,
                 SwapBuffersFunction swapBuffers, std::ostream& out,
                 const std::vector<PanelLayout>& panels, GlyphAtlas& atlas);

// The frame's steps without the figure, for measuring what the figure costs:
// start (fade or clear), view (modes, light, viewer matrix, the figure's place),
// finish (swap and trail copy).
void startFrame(const Settings& settings, const FrameState& state, TrailImage& image,
                SwapBuffersFunction swapBuffers);
void setView(const Settings& settings, const FrameState& state);
void finishFrame(const Settings& settings, TrailImage& image, SwapBuffersFunction swapBuffers,
                 const std::vector<PanelLayout>& panels = {}, GlyphAtlas* atlas = nullptr);
