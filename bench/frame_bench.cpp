// Frame cost with trails at 1024x768: the real frame, the same frame without the
// figure, and the figure's grid computation alone. Starts its own Xvfb when no
// display is set. Ends with five lines, each the median over the frames.
// `frame_bench --keys` draws the real frames with the table of keys over them, as F1 shows it.

#include <GL/gl.h>
#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/video.h"
#include "app/window_text.h"
#include "render/figure_grid.h"
#include "render/frame.h"

namespace {

constexpr int framesMeasured = 300;
constexpr int warmUpFrames = 10;  // the first trail frame also checks the front buffer
constexpr double benchFrameTime = 0.02;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2;
}

// Xvfb picks a free display itself and writes its number to the pipe once it listens.
// Without -noreset it resets when its last client leaves and refuses clients meanwhile.
pid_t startXvfb() {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(channel[0]);
    const std::string fd = std::to_string(channel[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(channel[1]);
  std::string number;
  char c = 0;
  while (read(channel[0], &c, 1) == 1 && c != '\n') number += c;
  close(channel[0]);
  if (pid < 0 || number.empty()) return -1;
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return pid;
}

void stopXvfb(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

void swapBuffers() {
  SDL_GL_SwapBuffers();
}

FrameState benchFrame() {
  return {benchFrameTime, {{1, 0, 0, 0}, {0, 0, 0}}, false, false};
}

// With `text` showing its keys, each frame lays them out and draws them, as the program does.
std::vector<double> timeFullFrames(std::ostream& out, WindowText& text) {
  std::vector<double> times;
  for (int frame = 0; frame < warmUpFrames + framesMeasured; ++frame) {
    const Clock::time_point start = Clock::now();
    renderFrame(settings, benchFrame(), trailImage, swapBuffers, out,
                framePanels(text, programKeys(), settings.windowWidth, settings.windowHeight, 0.0),
                text.atlas);
    if (frame >= warmUpFrames) times.push_back(millisecondsSince(start));
  }
  return times;
}

std::vector<double> timeEmptyFrames() {
  std::vector<double> times;
  for (int frame = 0; frame < warmUpFrames + framesMeasured; ++frame) {
    const Clock::time_point start = Clock::now();
    startFrame(settings, benchFrame(), trailImage, swapBuffers);
    setView(settings, benchFrame());
    finishFrame(settings, trailImage, swapBuffers);
    if (frame >= warmUpFrames) times.push_back(millisecondsSince(start));
  }
  return times;
}

std::vector<double> timeFigureCpu() {
  auto grid = std::make_unique<FigureGrid>();
  Matrix4 rotation = identityMatrix4();
  std::vector<double> times;
  for (int frame = 0; frame < warmUpFrames + framesMeasured; ++frame) {
    const Clock::time_point start = Clock::now();
    buildFigureGrid(rotation, 0.75, *grid);
    advanceFigureRotation(rotation, benchFrameTime);
    if (frame >= warmUpFrames) times.push_back(millisecondsSince(start));
  }
  return times;
}

const char* trailCopyName(TrailCopy copy) {
  switch (copy) {
    case TrailCopy::frontBuffer:
      return "front buffer";
    case TrailCopy::texture:
      return "texture";
    case TrailCopy::undecided:
      break;
  }
  return "undecided";
}

}  // namespace

int main(int argumentCount, char** arguments) {
  const bool keysShown = argumentCount > 1 && std::string(arguments[1]) == "--keys";
  pid_t xvfb = 0;
  if (std::getenv("DISPLAY") == nullptr) {
    xvfb = startXvfb();
    if (xvfb < 0) {
      std::cerr << "frame_bench: no display and no Xvfb\n";
      return 1;
    }
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
      SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL | SDL_RESIZABLE) == nullptr) {
    std::cerr << "frame_bench: " << SDL_GetError() << "\n";
    stopXvfb(xvfb);
    return 1;
  }
  applyGlState();
  setProjection(1024, 768);

  WindowText text;
  if (keysShown) {
    openWindowFont(text, windowFontPath(std::getenv), std::cerr);
    if (!text.font) {
      SDL_Quit();
      stopXvfb(xvfb);
      return 1;
    }
    text.keysShown = true;
  }
  std::ostringstream figureOutput;
  const std::vector<double> full = timeFullFrames(figureOutput, text);
  const std::vector<double> empty = timeEmptyFrames();
  const std::vector<double> figure = timeFigureCpu();
  std::cout << "renderer: " << reinterpret_cast<const char*>(glGetString(GL_RENDERER)) << "\n";
  std::cout << "window: " << settings.windowWidth << "x" << settings.windowHeight
            << ", trail copy: " << trailCopyName(trailImage.copy) << ", frames: " << framesMeasured
            << ", keys " << (keysShown ? "shown" : "hidden") << "\n";
  SDL_Quit();
  stopXvfb(xvfb);

  const double fullMs = median(full);
  const double emptyMs = median(empty);
  std::cout << std::fixed << std::setprecision(1);
  std::cout << "full frame ms: " << fullMs << "\n";
  std::cout << "empty frame ms: " << emptyMs << "\n";
  std::cout << std::setprecision(2) << "figure cpu ms: " << median(figure) << "\n";
  std::cout << "ratio full/empty: " << fullMs / emptyMs << "\n";
  std::cout << std::setprecision(1) << "fps: " << 1000 / fullMs << std::endl;
  return 0;
}
