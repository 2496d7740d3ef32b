#include "app/window_text.h"

#include <iomanip>
#include <sstream>
#include <utility>

namespace {

std::string stepTimeLine(double seconds) {
  std::ostringstream line;
  line << "Step time: " << std::fixed << std::setprecision(3) << seconds << " s";
  return line.str();
}

const char* const refusedLine = "Not enough memory for the next refinement step";

#include "app/key_rows.inc"

}  // namespace

const KeyTable& programKeys() {
  return keyTableRows;
}

bool captionShown(const StepCaption& caption, double now) {
  return !caption.lines.empty() && now - caption.shownAt < captionSeconds;
}

std::vector<std::string> refinementCaption(const std::optional<StepFigures>& figures,
                                           double seconds, std::streamsize precision) {
  if (!figures) return {refusedLine, stepTimeLine(seconds)};
  // As printAreaRange and the step print them, digit for digit.
  std::ostringstream ratio;
  std::ostringstream error;
  std::ostringstream faces;
  ratio.precision(precision);
  error.precision(precision);
  ratio << "Max/min area ratio=" << areaRatio(figures->areas);
  error << "Relative error=" << areaRatio(figures->areas) - 1;
  faces << "Face count: " << figures->faceCount;
  return {faces.str(), ratio.str(), error.str(), stepTimeLine(seconds)};
}

std::vector<std::string> splitCaption(bool split, std::size_t faceCount, double seconds) {
  if (!split) return {refusedLine, stepTimeLine(seconds)};
  return {
      "Edge " + std::to_string(splitKeyEdge) + " split. Face count: " + std::to_string(faceCount),
      stepTimeLine(seconds)};
}

std::vector<PanelLayout> windowPanels(bool keysShown, const StepCaption& caption,
                                      const std::vector<CornerText>& corners, const KeyTable& keys,
                                      int windowWidth, int windowHeight, double now,
                                      const FontMetrics& font) {
  std::vector<PanelLayout> panels;
  if (captionShown(caption, now)) {
    std::vector<PanelLine> lines;
    for (const std::string& line : caption.lines) lines.push_back({line, {}});
    panels.push_back(cornerPanel(lines, Corner::topLeft, windowWidth, windowHeight, font));
  }
  for (const CornerText& text : corners) {
    std::vector<PanelLine> lines;
    for (const PanelLine& line : text.lines) {
      for (std::string& part : wrapText(line.text, windowWidth / 2, font)) {
        lines.push_back({std::move(part), line.colour});
      }
    }
    panels.push_back(
        cornerPanel(lines, text.corner, windowWidth, windowHeight, font, text.edgeClearance));
  }
  if (keysShown) panels.push_back(keysPanel(keys, windowWidth, windowHeight, font));
  return panels;
}

std::string windowFontPath(const std::function<const char*(const char*)>& lookup) {
  const char* chosen = lookup("GEOSANDBOX_FONT");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

void openWindowFont(WindowText& text, const std::string& path, std::ostream& err) {
  std::string error;
  text.font = openFont(path, error);
  if (!text.font) {
    err << "geosandbox: " << error << "; the window shows no text (F1 shows nothing)" << std::endl;
  }
}

std::vector<PanelLayout> framePanels(WindowText& text, const KeyTable& keys, int windowWidth,
                                     int windowHeight, double now) {
  if (!text.font) return {};
  if (!text.keysShown && !captionShown(text.caption, now) && text.corners.empty()) return {};
  const int pixelSize = textPixelSize(windowHeight);
  if (text.atlas.glyphs.metrics.pixelSize != pixelSize) {
    releaseAtlas(text.atlas);
    text.atlas.glyphs = makeGlyphs(*text.font, pixelSize);
  }
  return windowPanels(text.keysShown, text.caption, text.corners, keys, windowWidth, windowHeight,
                      now, text.atlas.glyphs.metrics);
}
