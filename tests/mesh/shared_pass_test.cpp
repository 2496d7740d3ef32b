#include "mesh/shared_pass.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// Marks each record it is given; a doubt at `doubtAt`.
class MarkingPass : public SharedPass {
 public:
  MarkingPass(std::size_t count, std::size_t doubtAt) : marks(count, 0), doubtAt_(doubtAt) {}
  bool checkChunk(std::size_t first, std::size_t end, unsigned) override {
    for (std::size_t record = first; record < end; ++record) {
      if (record == doubtAt_) return false;
      ++marks[record];
    }
    return true;
  }
  std::vector<unsigned char> marks;  // each record's own element: no two threads share one

 private:
  std::size_t doubtAt_;
};

std::atomic<unsigned> threadsSetUp{0};

void setUpByWritingAll(void* memory, std::size_t bytes) {
  std::memset(memory, 1, bytes);
  ++threadsSetUp;
}

}  // namespace

// Every record once, on as many threads as there are chunks for and no more, each further
// thread set up with its memory; a doubt is the run's.
TEST(SharedPass, ChecksEveryRecordOnceOnTheThreadsItsChunksAllow) {
  struct Case {
    std::size_t count, chunk;
    unsigned threads, expectedThreads;
  };
  for (const Case& c : {Case{0, 4, 3, 1}, Case{5, 4, 3, 2}, Case{1000, 1, 4, 4}, Case{9, 3, 1, 1},
                        Case{100, 7, maxStepThreads + 10, 15}}) {
    SCOPED_TRACE(std::to_string(c.count) + " records, " + std::to_string(c.threads) + " threads");
    threadsSetUp = 0;
    MarkingPass pass(c.count, c.count);
    const StepThreads threads{c.threads, setUpByWritingAll, 3 * 4096 + 1, c.chunk};
    const SharedRun run = runSharedPass(pass, c.count, threads, nullptr, "pass");
    EXPECT_TRUE(run.sound);
    EXPECT_EQ(run.threads, c.expectedThreads);
    EXPECT_EQ(threadsSetUp, c.expectedThreads - 1);
    EXPECT_EQ(std::vector<unsigned char>(c.count, 1), pass.marks);

    MarkingPass doubting(c.count, c.count / 2);
    EXPECT_EQ(runSharedPass(doubting, c.count, threads, nullptr, "pass").sound, c.count == 0);
  }
}

// A further thread's memory counts like the step's records: the room, less its margin and
// the step, decides how many there are, one at least.
TEST(SharedPass, ThreadsAreCutToTheRoomLeftBesideTheStep) {
  const StepThreads eight{8, nullptr, 256 << 10};
  const uint64_t each = bytesPerFurtherThread(eight);
  const uint64_t step = 100 << 20;
  struct Case {
    uint64_t room;
    unsigned threads;
  };
  for (const Case& c : {Case{unlimitedRoom, 8}, Case{memorySafetyMargin + step + 3 * each, 4},
                        Case{memorySafetyMargin + step + 3 * each - 1, 3},
                        Case{memorySafetyMargin + step, 1}, Case{0, 1}}) {
    EXPECT_EQ(threadsThatFit(eight, MemoryRoom{unlimitedRoom, c.room, unlimitedRoom}, step).count,
              c.threads)
        << c.room;
  }
  EXPECT_EQ(threadsThatFit(StepThreads{0}, MemoryRoom{}, step).count, 1u);
}

namespace {

// Waits, at most ten seconds, for `condition`.
template <typename Condition>
void waitFor(Condition condition) {
  for (int tries = 0; tries < 10000 && !condition(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Its further thread takes the second chunk and gives it back only once the calling thread,
// which waits for it, has reported twice.
struct StallingPass : SharedPass, StepProgress {
  bool checkChunk(std::size_t, std::size_t, unsigned thread) override {
    if (thread == 0) {
      waitFor([&] { return otherBegan.load(); });
      return true;
    }
    otherBegan = true;
    waitFor([&] { return reports >= 2; });
    return true;
  }
  void reached(const char*, std::size_t, std::size_t) override { ++reports; }
  void finished() override {}
  std::atomic<bool> otherBegan{false};
  std::atomic<int> reports{0};
};

}  // namespace

// A thread the system keeps waiting, with nothing done meanwhile, does not keep the window
// waiting: the calling thread still reports while it waits for it.
TEST(SharedPass, ReportsWhileWaitingForAThreadThatDoesNothing) {
  StallingPass pass;
  EXPECT_TRUE(runSharedPass(pass, 2, StepThreads{2, nullptr, 0, 1}, &pass, "pass").sound);
  EXPECT_GE(pass.reports, 2);
}

namespace {

// Ends the process at the first report, from the thread that reports, as a request to quit
// during a step does; its chunks take a millisecond each and are counted as they begin.
struct ExitingPass : SharedPass, StepProgress {
  bool checkChunk(std::size_t, std::size_t, unsigned) override {
    ++chunksBegun;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
  }
  void reached(const char*, std::size_t, std::size_t) override { std::exit(0); }
  void finished() override {}
  static std::atomic<int> chunksBegun;
};
std::atomic<int> ExitingPass::chunksBegun{0};

// Registered before any thread is started, so it runs after the threads' own exit handler,
// where the destructor of a static mesh runs in the program: no thread may take a chunk then.
void checkNoChunkBeginsAtExit() {
  const int begun = ExitingPass::chunksBegun;
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (ExitingPass::chunksBegun != begun) _exit(3);
}

}  // namespace

// A quit during a shared pass ends the process while other threads work: they are stopped and
// waited for before the exit handlers registered earlier run (the program's mesh goes in
// one), and the process ends with exit's status.
TEST(SharedPass, ExitDuringAPassStopsTheThreadsBeforeTheMeshGoes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atexit(checkNoChunkBeginsAtExit);
        ExitingPass pass;
        runSharedPass(pass, 1000000, StepThreads{4, nullptr, 0, 1000}, &pass, "pass");
      },
      testing::ExitedWithCode(0), "");
}
