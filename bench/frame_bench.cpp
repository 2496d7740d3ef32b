// Frame cost with trails at 1024x768: the real frame, the same frame without the
// figure, and the figure's grid computation alone; then the mesh view's frame at the steps
// given as arguments (10, 14, 16 and 18 without), with the picture the program would
// choose and, up to step 16, every face for comparison. Starts its own Xvfb when no
// display is set. The figure ends with five lines, each the median over the frames; the
// mesh view with one line a step and picture.
// `--keys` draws the real frames with the table of keys over them, as F1 shows it.

#include <GL/gl.h>
#include <SDL.h>
#include <signal.h>
#include <sys/resource.h>
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
#include "app/mesh_picture.h"
#include "app/mesh_view.h"
#include "app/video.h"
#include "app/window_text.h"
#include "mesh/refine.h"
#include "render/figure_grid.h"
#include "render/frame.h"
#include "render/mesh_view.h"
#include "startup/start_mesh.h"
#include "system/memory_probe.h"

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

// A mesh frame of software GL at step 18 takes up to a second with every face: fewer frames.
constexpr int meshFramesMeasured = 30;
constexpr int meshWarmUpFrames = 3;
// Past this step every face is not timed: its arrays alone take 377 MB at step 18.
constexpr int lastStepWithEveryFaceTimed = 16;

double megabytes(uint64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

uint64_t pictureBytes(const MeshPicture& picture) {
  return (picture.positions.capacity() + picture.textureCoordinates.capacity()) * sizeof(float) +
         picture.colours.capacity() + picture.texels.capacity();
}

uint64_t meshBytes(const Mesh& mesh) {
  return mesh.vertices.capacity() * sizeof(Vertex) + mesh.edges.capacity() * sizeof(Edge) +
         mesh.faces.capacity() * sizeof(Face);
}

double peakResidentMegabytes() {
  rusage usage = {};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

double medianMeshFrameMs(const MeshPicture& picture) {
  std::vector<double> times;
  for (int frame = 0; frame < meshWarmUpFrames + meshFramesMeasured; ++frame) {
    const Clock::time_point start = Clock::now();
    renderMeshFrame(settings, benchFrame(), picture, trailImage, swapBuffers);
    glFinish();
    if (frame >= meshWarmUpFrames) times.push_back(millisecondsSince(start));
  }
  return median(times);
}

const char* pictureName(const MeshPicture& picture) {
  return picture.choice.kind == PictureKind::everyFace ? "every face" : "patches";
}

void timeMeshPicture(int step, const Mesh& mesh, std::size_t budget, std::ostream& out) {
  const Clock::time_point start = Clock::now();
  const MeshPicture picture = meshPicture(mesh, budget, spareBytes(readMemoryRoom("/")));
  const double buildMs = millisecondsSince(start);
  const double frameMs = medianMeshFrameMs(picture);
  out << "mesh view step " << step << ": " << mesh.faces.size() << " faces, "
      << pictureName(picture) << " (" << picture.positions.size() / 3 << " vertices), built ms "
      << buildMs << ", arrays MB " << megabytes(pictureBytes(picture)) << ", mesh MB "
      << megabytes(meshBytes(mesh)) << ", frame ms " << frameMs << ", fps " << 1000 / frameMs
      << std::endl;
}

// Each step's mesh is made as the t key makes it; the view then as the program shows it.
void timeMeshView(const std::vector<int>& steps, std::ostream& out) {
  Mesh mesh;
  Refinement refinement;
  std::ostringstream ignored;
  buildStartMesh(mesh, ignored);
  int step = 0;
  out << std::fixed << std::setprecision(1);
  for (const int target : steps) {
    while (step < target) {
      std::istringstream noInput;
      refineStep(mesh, refinement, readMemoryRoom("/"), ignored, noInput);
      ++step;
    }
    if (mesh.faces.size() != (std::size_t{60} << (step - 1))) {
      out << "mesh view step " << step << ": the step was refused, not enough memory" << std::endl;
      return;
    }
    out << "mesh view step " << step << ": peak resident MB before the view "
        << peakResidentMegabytes() << std::endl;
    timeMeshPicture(step, mesh, meshViewTriangleBudget, out);
    out << "mesh view step " << step << ": peak resident MB with the view "
        << peakResidentMegabytes() << std::endl;
    if (step <= lastStepWithEveryFaceTimed && mesh.faces.size() > meshViewTriangleBudget) {
      timeMeshPicture(step, mesh, mesh.faces.size(), out);
    }
  }
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

int main(int argc, char** argv) {
  bool keysShown = false;
  std::vector<int> meshSteps;
  bool stepsGiven = false;
  // "none", or any step below 1, times the figure alone.
  for (int a = 1; a < argc; ++a) {
    if (std::string(argv[a]) == "--keys") {
      keysShown = true;
      continue;
    }
    stepsGiven = true;
    if (std::atoi(argv[a]) >= 1) meshSteps.push_back(std::atoi(argv[a]));
  }
  if (!stepsGiven) meshSteps = {10, 14, 16, 18};
  std::sort(meshSteps.begin(), meshSteps.end());
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
  timeMeshView(meshSteps, std::cout);
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
