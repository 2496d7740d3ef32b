// Refinement benchmark: builds the icosahedron and runs refinement steps, one row per
// step, timing the stages of each step in the order refineStep runs them. The check
// measures the face areas as it goes, so "validate" is that fused pass and "stats" is
// what is left: printing the measured range, or the full statistics walk where the
// check could not measure every face (the first step, or any doubt). The check is shared
// among the processors the process may use, as in the program; "threads" says how many it
// ran on (`taskset -c 0` gives one). --check-pairs N then times the last step's check again,
// on one thread and shared, in N interleaved pairs.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "mesh/refine.h"
#include "mesh/split_edge.h"
#include "startup/start_mesh.h"
#include "system/cpu_probe.h"
#include "system/memory_probe.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Takes the reports a step makes, as the program's progress line does where standard error
// is not a terminal, so the figures include what reporting costs.
class UnshownProgress : public StepProgress {
 public:
  void reached(const char*, std::size_t, std::size_t) override {}
  void finished() override {}
};

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double peakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--steps N] [--csv] [--check-pairs N]\n", program);
  return 2;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The last step's check again, on one thread and shared as the steps were, `pairs` times each,
// interleaved in alternating order: an A/B of the sharing alone, seconds apart, so that a load
// that drifts between whole runs weighs on both sides alike.
void timeCheckPairs(const Mesh& mesh, const StepThreads& threads, int pairs, std::ostream& out) {
  std::vector<double> alone;
  std::vector<double> shared;
  unsigned sharedThreads = 1;
  const auto timeCheck = [&](const StepThreads& sharing, std::vector<double>& times) {
    const auto start = std::chrono::steady_clock::now();
    const StepCheck check = checkStep(mesh, StepSplit::edges, out, nullptr, sharing);
    times.push_back(millisecondsSince(start));
    return check.threads;
  };
  for (int pair = 0; pair < pairs; ++pair) {
    if (pair % 2 == 0) timeCheck(StepThreads{}, alone);
    sharedThreads = timeCheck(threads, shared);
    if (pair % 2 == 1) timeCheck(StepThreads{}, alone);
  }
  const double one = median(alone);
  const double several = median(shared);
  std::printf(
      "check of the last step, %d interleaved pairs: one thread %.1f ms, %u threads %.1f "
      "ms (medians), one/shared %.2f\n",
      pairs, one, sharedThreads, several, one / several);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  int steps = 18;
  int checkPairs = 0;
  bool csv = false;
  for (int i = 1; i < argumentCount; ++i) {
    if (std::strcmp(arguments[i], "--csv") == 0) {
      csv = true;
    } else if (std::strcmp(arguments[i], "--check-pairs") == 0 && i + 1 < argumentCount) {
      checkPairs = std::atoi(arguments[++i]);
    } else if (std::strcmp(arguments[i], "--steps") == 0 && i + 1 < argumentCount) {
      steps = std::atoi(arguments[++i]);
    } else {
      return usage(arguments[0]);
    }
  }
  if (steps < 2 && checkPairs > 0) return usage(arguments[0]);
  if (steps < 1 || checkPairs < 0) return usage(arguments[0]);

  NullBuffer nullBuffer;
  UnshownProgress progress;
  std::ostream nullStream(&nullBuffer);
  Mesh mesh;
  Refinement refinement;
  buildStartMesh(mesh, nullStream);
  StepThreads threads;
  threads.count = readUsableProcessors("/");

  if (csv) {
    std::printf(
        "step,faces,split_ms,validate_ms,stats_ms,total_ms,ns_per_split,peak_rss_mb,"
        "bytes_per_face,threads\n");
  } else {
    std::printf("%4s %10s %10s %12s %10s %10s %13s %12s %15s %8s\n", "step", "faces", "split_ms",
                "validate_ms", "stats_ms", "total_ms", "ns_per_split", "peak_rss_mb",
                "bytes_per_face", "threads");
  }
  for (int step = 1; step <= steps; ++step) {
    const std::size_t facesBefore = mesh.faces.size();
    const MemoryRoom room = readMemoryRoom("/");
    const StepThreads fitting = threadsThatFit(threads, room, bytesOfNextStep(mesh, refinement));
    auto start = std::chrono::steady_clock::now();
    const StepSplit split = splitForStep(mesh, refinement, room, nullStream, &progress);
    const double splitMs = millisecondsSince(start);
    if (split == StepSplit::refused) {
      std::fprintf(stderr, "step %d does not fit in memory\n", step);
      return 1;
    }
    start = std::chrono::steady_clock::now();
    const StepCheck check = checkStep(mesh, split, nullStream, &progress, fitting);
    const double validateMs = millisecondsSince(start);
    start = std::chrono::steady_clock::now();
    printStepResult(mesh, check, nullStream);
    const double statsMs = millisecondsSince(start);
    const double totalMs = splitMs + validateMs + statsMs;
    if (!check.valid) {
      std::fprintf(stderr, "step %d left an invalid mesh\n", step);
      return 1;
    }
    const std::size_t faces = mesh.faces.size();
    const double splits = static_cast<double>((faces - facesBefore) / facesPerSplit);
    const double nsPerSplit = splitMs * 1e6 / splits;
    const double peakMb = peakResidentMegabytes();
    const double bytesPerFace = peakMb * 1024.0 * 1024.0 / static_cast<double>(faces);
    if (csv) {
      std::printf("%d,%zu,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%u\n", step, faces, splitMs,
                  validateMs, statsMs, totalMs, nsPerSplit, peakMb, bytesPerFace, check.threads);
    } else {
      std::printf("%4d %10zu %10.1f %12.1f %10.1f %10.1f %13.1f %12.1f %15.1f %8u\n", step, faces,
                  splitMs, validateMs, statsMs, totalMs, nsPerSplit, peakMb, bytesPerFace,
                  check.threads);
    }
    std::fflush(stdout);
  }
  if (checkPairs > 0) {
    timeCheckPairs(mesh, threadsThatFit(threads, readMemoryRoom("/"), 0), checkPairs, nullStream);
  }
  return 0;
}
