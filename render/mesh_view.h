#pragma once
// The mesh view's frame: the refined sphere where the figure stands, lit and drawn from the
// picture's arrays, with its colour legend. No trails; the shown image is still kept, so a
// step's bar can go over it as over the figure.

#include "render/frame.h"
#include "render/mesh_picture.h"
#include "render/settings.h"
#include "render/trails.h"

// The picture's arrays in one draw call, with the render flags already set; leaves the client
// arrays, the shade model and normalising as the figure expects them.
void drawMeshPicture(const MeshPicture& picture);

// The legend's colour bar in window pixels; its words go in a text panel beside it.
void drawLegendSwatches(const Legend& legend, int windowWidth, int windowHeight);

// With `panels` of text over it, as the figure's frame has them, which leave no trail either.
void renderMeshFrame(const Settings& settings, const FrameState& state, const MeshPicture& picture,
                     TrailImage& image, SwapBuffersFunction swapBuffers,
                     const std::vector<PanelLayout>& panels = {}, GlyphAtlas* atlas = nullptr);
