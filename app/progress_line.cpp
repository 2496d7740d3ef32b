#include "app/progress_line.h"

#include <utility>

namespace {

// Carriage return, then erase to the end of the line: the line is written over in place.
constexpr const char* rewriteLine = "\r\033[K";

}  // namespace

std::string progressText(const char* pass, std::size_t done, std::size_t due) {
  const std::size_t percent = due == 0 ? 100 : done * 100 / due;
  return std::string("refining: ") + pass + " " + std::to_string(percent) + "%";
}

ProgressLine::ProgressLine(std::ostream& terminal, bool isTerminal, TimeSource& time)
    : terminal_(terminal), isTerminal_(isTerminal), time_(time), startTick_(time.ticks()) {}

void ProgressLine::reached(const char* pass, std::size_t done, std::size_t due) {
  if (!isTerminal_) return;
  if (!pastQuietStart(startTick_, time_.ticks())) return;
  std::string text = progressText(pass, done, due);
  if (text == shown_) return;
  terminal_ << rewriteLine << text << std::flush;
  shown_ = std::move(text);
}

void ProgressLine::finished() {
  if (shown_.empty()) return;
  terminal_ << rewriteLine << std::flush;
  shown_.clear();
}
