#pragma once
// What the window says in text over its picture: the table of keys while F1 has it shown, and
// the last mesh step's figures for a few seconds after the step, as standard output got them.

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "mesh/refine.h"
#include "render/glyphs.h"
#include "render/panel.h"
#include "render/text_layout.h"

// A step's lines and when the step ended; a new step's caption replaces the one shown.
struct StepCaption {
  std::vector<std::string> lines;  // empty when there is none
  double shownAt = 0.0;            // seconds on the caption clock when the step ended
};

// How long a caption stays, unless the next step replaces it.
constexpr double captionSeconds = 5.0;

bool captionShown(const StepCaption& caption, double now);

// The lines a t step printed, at standard output's `precision`, or its refusal; then its time.
std::vector<std::string> refinementCaption(const std::optional<StepFigures>& figures,
                                           double seconds, std::streamsize precision);
// The split key's: the face count after it, or the refusal; then its time.
std::vector<std::string> splitCaption(bool split, std::size_t faceCount, double seconds);

// A few lines a view puts in a corner of the window (a legend, say), for as long as it wants.
// Lines longer than half the window's width are wrapped.
struct CornerText {
  Corner corner;
  std::vector<PanelLine> lines;
  int edgeClearance = 0;  // window pixels from the edge kept free for the view's own drawing
};

// The panels of one frame: the caption in the top left corner, away from the figure in the
// middle, the corner texts, and over them the table of keys where it is shown.
std::vector<PanelLayout> windowPanels(bool keysShown, const StepCaption& caption,
                                      const std::vector<CornerText>& corners, const KeyTable& keys,
                                      int windowWidth, int windowHeight, double now,
                                      const FontMetrics& font);

// The program's table of keys, the README's.
const KeyTable& programKeys();

// The program's text: its font, its glyphs at the window's size, and what is shown.
struct WindowText {
  FontHandle font;  // null where no font could be read: the window shows no text
  GlyphAtlas atlas;
  bool keysShown = false;
  StepCaption caption;
  std::vector<CornerText> corners;  // shown while they are here
};

// The font file: GEOSANDBOX_FONT where it is set, otherwise DejaVu Sans where
// fonts-dejavu-core puts it.
std::string windowFontPath(const std::function<const char*(const char*)>& lookup);

// Opens the font; where it cannot, says so on `err`, once, and the window shows no text.
void openWindowFont(WindowText& text, const std::string& path, std::ostream& err);

// This frame's panels, with the glyphs made again where the window's size asks for another
// text size (their old panel textures freed). Empty without a font or when nothing is shown.
std::vector<PanelLayout> framePanels(WindowText& text, const KeyTable& keys, int windowWidth,
                                     int windowHeight, double now);
