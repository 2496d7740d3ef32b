#include "render/text_layout.h"

#include <algorithm>
#include <cstddef>

namespace {

// Room around the text inside the panel, and between the panel and the window's edges.
int paddingOf(const FontMetrics& font) {
  return std::max(4, font.pixelSize / 2);
}

int marginOf(const FontMetrics& font) {
  return std::max(4, font.pixelSize / 2);
}

// The title and the keys stand out from the actions beside them.
constexpr TextColour titleColour = {1.0f, 1.0f, 0.6f};
constexpr TextColour inputColour = {0.6f, 0.85f, 1.0f};

// Text on one line of a panel.
struct PlacedLine {
  int x;  // from the panel's left edge
  std::string text;
  TextColour colour = {};
};

// The longest start of `text` no wider than `width`.
std::string cutToWidth(const std::string& text, int width, const FontMetrics& font) {
  std::string cut;
  for (char c : text) {
    if (textWidth(cut + c, font) > width) break;
    cut += c;
  }
  return cut;
}

// The runs of `lines` (rows of placed text, from the top) in a panel whose top is `top`.
void addRuns(PanelLayout& panel, const std::vector<std::vector<PlacedLine>>& lines,
             const FontMetrics& font) {
  const int top = panel.y + panel.height;
  int baseline = top - paddingOf(font) - font.ascent;
  for (const std::vector<PlacedLine>& line : lines) {
    for (const PlacedLine& placed : line) {
      if (!placed.text.empty())
        panel.runs.push_back({panel.x + placed.x, baseline, placed.text, placed.colour});
    }
    baseline -= font.lineHeight;
  }
}

// The table's rows in newspaper columns: each column filled from the top with whole rows, as
// many as fit in `roomForRows` lines; rows that fit in no column are left out.
struct TableColumns {
  std::vector<std::vector<std::vector<PlacedLine>>> lines;  // by column, then line
  int columnWidth = 0;
  int usedWidth = 0;  // the widest line of any column
  std::size_t tallest = 0;
  std::size_t rowsShown = 0;
};

TableColumns tableColumns(const KeyTable& keys, int columns, int inner, int roomForRows,
                          const FontMetrics& font) {
  TableColumns table;
  const int gap = font.pixelSize;
  table.columnWidth = (inner - (columns - 1) * gap) / columns;
  int inputWidth = 0;
  for (const KeyRow& row : keys) inputWidth = std::max(inputWidth, textWidth(row.input, font));
  inputWidth = std::min(inputWidth, table.columnWidth * 3 / 10);
  const int actionWidth = table.columnWidth - inputWidth - gap;
  table.lines.resize(1);
  for (const KeyRow& row : keys) {
    const std::vector<std::string> inputLines = wrapText(row.input, inputWidth, font);
    const std::vector<std::string> actionLines = wrapText(row.action, actionWidth, font);
    const std::size_t rowLines = std::max(inputLines.size(), actionLines.size());
    if (static_cast<int>(table.lines.back().size() + rowLines) > roomForRows) {
      if (static_cast<int>(table.lines.size()) == columns) break;
      table.lines.emplace_back();
      if (static_cast<int>(rowLines) > roomForRows) break;
    }
    for (std::size_t k = 0; k < rowLines; ++k) {
      std::vector<PlacedLine> line;
      if (k < inputLines.size()) line.push_back({0, inputLines[k], inputColour});
      if (k < actionLines.size()) {
        line.push_back({inputWidth + gap, actionLines[k]});
        table.usedWidth =
            std::max(table.usedWidth, inputWidth + gap + textWidth(actionLines[k], font));
      }
      table.lines.back().push_back(line);
    }
    table.tallest = std::max(table.tallest, table.lines.back().size());
    ++table.rowsShown;
  }
  return table;
}

}  // namespace

int textWidth(const std::string& text, const FontMetrics& font) {
  int width = 0;
  for (char c : text)
    width += font.advance[hasGlyph(c) ? static_cast<int>(c) : static_cast<int>('?')];
  return width;
}

int textPixelSize(int windowHeight) {
  return std::max(13, (windowHeight + 25) / 50);
}

std::vector<std::string> wrapText(const std::string& text, int width, const FontMetrics& font) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    const std::string longer = line.empty() ? word : line + " " + word;
    if (line.empty() || textWidth(longer, font) <= width) {
      line = longer;
      continue;
    }
    lines.push_back(line);
    line = word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

PanelLayout keysPanel(const KeyTable& keys, int windowWidth, int windowHeight,
                      const FontMetrics& font) {
  PanelLayout panel;
  const int padding = paddingOf(font);
  const int margin = marginOf(font);
  const int gap = font.pixelSize;
  // About 90 characters a line: wider, the eye loses the row.
  const int inner = std::min(windowWidth - 2 * (margin + padding), 48 * font.pixelSize);
  if (inner <= 0 || font.lineHeight <= 0) return panel;
  const int roomForRows = (windowHeight - 2 * (margin + padding)) / font.lineHeight - 1;
  // One column where the table fits, else two side by side, which a low window has room for.
  TableColumns table = tableColumns(keys, 1, inner, roomForRows, font);
  if (table.rowsShown < keys.size()) table = tableColumns(keys, 2, inner, roomForRows, font);
  const std::string title = table.rowsShown < keys.size()
                                ? "Some of the keys (F1 hides them; all: geosandbox --help)"
                                : "Keys (F1 hides this table)";

  std::vector<std::vector<PlacedLine>> lines = {{{padding, title, titleColour}}};
  lines.resize(1 + table.tallest);
  for (std::size_t column = 0; column < table.lines.size(); ++column) {
    const int left = padding + static_cast<int>(column) * (table.columnWidth + gap);
    for (std::size_t k = 0; k < table.lines[column].size(); ++k) {
      for (PlacedLine placed : table.lines[column][k]) {
        placed.x += left;
        lines.at(1 + k).push_back(placed);
      }
    }
  }
  const int columns = static_cast<int>(table.lines.size());
  panel.width = std::max(textWidth(title, font), columns * table.usedWidth + (columns - 1) * gap);
  if (columns > 1) panel.width = columns * table.columnWidth + (columns - 1) * gap;
  panel.width += 2 * padding;
  panel.height = static_cast<int>(lines.size()) * font.lineHeight + 2 * padding;
  panel.x = std::max(0, (windowWidth - panel.width) / 2);
  panel.y = std::max(0, (windowHeight - panel.height) / 2);
  addRuns(panel, lines, font);
  return panel;
}

PanelLayout cornerPanel(const std::vector<PanelLine>& lines, Corner corner, int windowWidth,
                        int windowHeight, const FontMetrics& font, int edgeClearance) {
  PanelLayout panel;
  const int padding = paddingOf(font);
  const int margin = marginOf(font);
  const int inner = windowWidth - 2 * (margin + padding);
  if (lines.empty() || inner <= 0 || font.lineHeight <= 0) return panel;
  std::vector<std::vector<PlacedLine>> placed;
  int width = 0;
  for (const PanelLine& line : lines) {
    std::string text = cutToWidth(line.text, inner, font);
    width = std::max(width, textWidth(text, font));
    placed.push_back({{padding, text, line.colour}});
  }
  panel.width = width + 2 * padding;
  panel.height = static_cast<int>(lines.size()) * font.lineHeight + 2 * padding;
  const bool left = corner == Corner::topLeft || corner == Corner::bottomLeft;
  const bool top = corner == Corner::topLeft || corner == Corner::topRight;
  panel.x = left ? margin : windowWidth - margin - panel.width;
  const int fromEdge = std::max(margin, edgeClearance);
  panel.y = top ? std::max(0, windowHeight - fromEdge - panel.height) : fromEdge;
  addRuns(panel, placed, font);
  return panel;
}
