// Memory benchmark: how fast this machine serves random reads over an array as large as the
// mesh at step 18, the bound for a refinement step's passes, which read records scattered
// over the mesh. One row per way of reading, in ns per 64-byte line:
//   dependent    each read's address comes from the read before: one miss at a time
//   independent  addresses known ahead, from a list in random order: misses overlap
//   prefetched   the same, with a prefetch 16 reads ahead, as the split and the check do
//   indep_2thr   the independent reads shared by two threads, half each: the floor of a pass
//                shared among cores (ns per line of the whole: half the independent row would
//                be perfect scaling)
//   sequential   every line in order
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numeric>
#include <random>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct alignas(64) Line {
  uint64_t next;  // the dependent walk's next line
  uint64_t filler[7];
};

template <typename Reads>
double nanosecondsPerRead(std::size_t readCount, Reads reads) {
  const auto start = std::chrono::steady_clock::now();
  const uint64_t sink = reads();
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  // The sum is printed so that the reads cannot be left out.
  std::fprintf(stderr, "(%llu)\n", static_cast<unsigned long long>(sink % 2));
  return spent.count() / static_cast<double>(readCount);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  std::size_t megabytes = 420;  // the edges, vertices and faces at 7.9 M faces
  if (argumentCount == 3 && std::strcmp(arguments[1], "--megabytes") == 0) {
    megabytes = std::strtoull(arguments[2], nullptr, 10);
  } else if (argumentCount != 1 || megabytes == 0) {
    std::fprintf(stderr, "usage: %s [--megabytes N]\n", arguments[0]);
    return 2;
  }
  const std::size_t lineCount = megabytes * 1024 * 1024 / sizeof(Line);
  const std::size_t readCount = std::min<std::size_t>(lineCount, 1 << 23);
  std::vector<Line> lines(lineCount);
  std::mt19937_64 random(42);

  // One cycle through every line in random order (Sattolo's shuffle).
  std::vector<uint64_t> order(lineCount);
  std::iota(order.begin(), order.end(), uint64_t{0});
  for (std::size_t i = lineCount - 1; i > 0; --i) {
    std::swap(order[i], order[std::uniform_int_distribution<std::size_t>(0, i - 1)(random)]);
  }
  for (std::size_t i = 0; i < lineCount; ++i) lines[order[i]].next = order[(i + 1) % lineCount];
  std::vector<uint32_t> targets(readCount);
  for (uint32_t& target : targets) {
    target =
        static_cast<uint32_t>(std::uniform_int_distribution<std::size_t>(0, lineCount - 1)(random));
  }

  std::printf("%zu MiB, %zu reads a row\n", megabytes, readCount);
  std::printf("%-12s %10s\n", "reads", "ns_per_line");
  std::printf("%-12s %10.1f\n", "dependent", nanosecondsPerRead(readCount, [&] {
                uint64_t at = 0;
                for (std::size_t i = 0; i < readCount; ++i) at = lines[at].next;
                return at;
              }));
  std::printf("%-12s %10.1f\n", "independent", nanosecondsPerRead(readCount, [&] {
                uint64_t sum = 0;
                for (const uint32_t target : targets) sum += lines[target].next;
                return sum;
              }));
  std::printf("%-12s %10.1f\n", "prefetched", nanosecondsPerRead(readCount, [&] {
                constexpr std::size_t ahead = 16;
                uint64_t sum = 0;
                for (std::size_t i = 0; i < readCount; ++i) {
                  if (i + ahead < readCount) __builtin_prefetch(&lines[targets[i + ahead]]);
                  sum += lines[targets[i]].next;
                }
                return sum;
              }));
  // Each thread sums its half into a sum of its own; the join orders both before the add.
  std::printf("%-12s %10.1f\n", "indep_2thr", nanosecondsPerRead(readCount, [&] {
                const auto sumOf = [&](std::size_t first, std::size_t end, uint64_t& sum) {
                  for (std::size_t i = first; i < end; ++i) sum += lines[targets[i]].next;
                };
                uint64_t sums[2] = {0, 0};
                std::thread other(sumOf, readCount / 2, readCount, std::ref(sums[1]));
                sumOf(0, readCount / 2, sums[0]);
                other.join();
                return sums[0] + sums[1];
              }));
  std::printf("%-12s %10.1f\n", "sequential", nanosecondsPerRead(lineCount, [&] {
                uint64_t sum = 0;
                for (const Line& line : lines) sum += line.next;
                return sum;
              }));
  return 0;
}
