// Chunks of a pass on several threads. Each chunk's result goes to the result of the thread
// that checked it and nowhere else; the counters below are the only memory threads share, and
// the joins at the end order every result before the caller reads it.
#include "mesh/shared_pass.h"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "mesh/array.h"

namespace {

uint64_t wholePages(uint64_t bytes) {
  const uint64_t page = memoryPageBytes();
  return (bytes + page - 1) / page * page;
}

struct Run;

struct FurtherThread {
  Run* run = nullptr;
  unsigned index = 0;
  void* setUpMemory = nullptr;
  pthread_t id{};
};

struct Run {
  Run(SharedPass& pass_, const StepThreads& threads_, std::size_t count_)
      : pass(pass_),
        threads(threads_),
        count(count_),
        chunk(std::max<std::size_t>(threads_.chunkRecords, 1)) {}
  SharedPass& pass;
  const StepThreads& threads;
  std::size_t count;
  std::size_t chunk;
  std::atomic<std::size_t> nextChunk{0};
  std::atomic<std::size_t> recordsDone{0};
  std::atomic<bool> stop{false};   // a doubt was found, or the process is exiting
  std::atomic<bool> doubt{false};  // some chunk was not sound
  std::mutex mutex;
  std::condition_variable threadEnded;
  unsigned running = 0;  // further threads still taking chunks; under `mutex`
  unsigned started = 0;  // further threads started, in further[0, started)
  FurtherThread further[maxStepThreads];
};

// Takes and checks one chunk; false once none is left or the run has stopped.
bool checkNextChunk(Run& run, unsigned thread) {
  if (run.stop.load(std::memory_order_relaxed)) return false;
  const std::size_t index = run.nextChunk.fetch_add(1, std::memory_order_relaxed);
  if (index >= (run.count + run.chunk - 1) / run.chunk) return false;
  const std::size_t first = index * run.chunk;
  const std::size_t end = std::min(run.count, first + run.chunk);
  if (!run.pass.checkChunk(first, end, thread)) {
    run.doubt.store(true, std::memory_order_relaxed);
    run.stop.store(true, std::memory_order_relaxed);
    return false;
  }
  run.recordsDone.fetch_add(end - first, std::memory_order_relaxed);
  return true;
}

extern "C" void* takeChunks(void* argument) {
  FurtherThread& self = *static_cast<FurtherThread*>(argument);
  Run& run = *self.run;
  if (run.threads.setUp != nullptr) run.threads.setUp(self.setUpMemory, run.threads.setUpBytes);
  while (checkNextChunk(run, self.index)) {
  }
  {
    const std::lock_guard<std::mutex> lock(run.mutex);
    --run.running;
  }
  run.threadEnded.notify_all();
  return nullptr;
}

void joinFurtherThreads(Run& run) {
  for (unsigned i = 0; i < run.started; ++i) {
    pthread_join(run.further[i].id, nullptr);
    if (run.further[i].setUpMemory != nullptr) {
      munmap(run.further[i].setUpMemory, wholePages(run.threads.setUpBytes));
    }
  }
  run.started = 0;
}

// The run in progress, for the exit handler: the calling thread sets it before it starts a
// thread and clears it after the joins, and the handler runs on that thread too.
std::atomic<Run*> activeRun{nullptr};

// exit() from a progress report runs this before the destructors of static objects made
// before the first run, such as a mesh the threads read: they stop after their chunk.
extern "C" void stopActiveRun() {
  Run* run = activeRun.load();
  if (run == nullptr) return;
  run->stop.store(true);
  joinFurtherThreads(*run);
  activeRun.store(nullptr);
}

// The further threads take only the faults of their own work; every other signal, a request
// to end the run among them, goes to the calling thread, whose handlers expect it.
sigset_t signalsFurtherThreadsBlock() {
  sigset_t blocked;
  sigfillset(&blocked);
  for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigdelset(&blocked, fault);
  return blocked;
}

// Starts one more thread, with its own set-up memory; false where either cannot be had.
bool startFurtherThread(Run& run, const pthread_attr_t& attributes) {
  FurtherThread& thread = run.further[run.started];
  thread.run = &run;
  thread.index = run.started + 1;
  thread.setUpMemory = nullptr;
  const std::size_t setUpBytes = wholePages(run.threads.setUpBytes);
  if (setUpBytes > 0) {
    void* memory =
        mmap(nullptr, setUpBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    thread.setUpMemory = memory;
  }
  {
    const std::lock_guard<std::mutex> lock(run.mutex);
    ++run.running;
  }
  if (pthread_create(&thread.id, &attributes, takeChunks, &thread) != 0) {
    const std::lock_guard<std::mutex> lock(run.mutex);
    --run.running;
    if (thread.setUpMemory != nullptr) munmap(thread.setUpMemory, setUpBytes);
    return false;
  }
  ++run.started;
  return true;
}

void startFurtherThreads(Run& run, unsigned wanted) {
  if (wanted == 0) return;
  static const bool exitStopsThreads = std::atexit(stopActiveRun) == 0;
  if (!exitStopsThreads) return;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return;
  if (pthread_attr_setstacksize(&attributes, sharedPassStackBytes) == 0) {
    activeRun.store(&run);
    const sigset_t blocked = signalsFurtherThreadsBlock();
    sigset_t callers;
    pthread_sigmask(SIG_SETMASK, &blocked, &callers);
    while (run.started < wanted && startFurtherThread(run, attributes)) {
    }
    pthread_sigmask(SIG_SETMASK, &callers, nullptr);
  }
  pthread_attr_destroy(&attributes);
}

}  // namespace

uint64_t bytesPerFurtherThread(const StepThreads& threads) {
  return wholePages(sharedPassStackBytes) + wholePages(threads.setUpBytes) +
         2 * uint64_t{memoryPageBytes()};
}

StepThreads threadsThatFit(const StepThreads& threads, const MemoryRoom& room, uint64_t stepBytes) {
  StepThreads fitting = threads;
  const uint64_t tightest = std::min({room.cgroup, room.available, room.addressSpace});
  const uint64_t taken = memorySafetyMargin + stepBytes;
  const uint64_t spare = tightest > taken ? tightest - taken : 0;
  const uint64_t further =
      std::min<uint64_t>(std::max(threads.count, 1u) - 1, spare / bytesPerFurtherThread(threads));
  fitting.count = 1 + static_cast<unsigned>(further);
  return fitting;
}

SharedRun runSharedPass(SharedPass& pass, std::size_t count, const StepThreads& threads,
                        StepProgress* progress, const char* passName) {
  Run run(pass, threads, count);
  const std::size_t chunks = (count + run.chunk - 1) / run.chunk;
  const std::size_t wanted = std::min<std::size_t>(
      {std::max(threads.count, 1u), maxStepThreads, std::max<std::size_t>(chunks, 1)});
  startFurtherThreads(run, static_cast<unsigned>(wanted - 1));

  // Reports where the records done pass a multiple of the interval, or, `evenUnchanged`, also
  // where they have not: a thread that the system keeps waiting must not keep the window so.
  std::size_t reported = 0;
  const auto report = [&](bool evenUnchanged) {
    const std::size_t done = run.recordsDone.load(std::memory_order_relaxed);
    const std::size_t shown = std::max(reported, done / progressInterval * progressInterval);
    if (progress != nullptr && (shown > reported || evenUnchanged)) {
      reported = shown;
      progress->reached(passName, shown, count);
    }
  };
  while (checkNextChunk(run, 0)) report(false);
  // The last chunks of the other threads: the wait is cut into slices, and a report after each
  // keeps the window answering. Nothing is held during a report, which may end the process.
  constexpr std::chrono::milliseconds slice{20};
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(run.mutex);
      if (run.running == 0) break;
      if (run.threadEnded.wait_for(lock, slice) == std::cv_status::no_timeout) continue;
    }
    report(true);
  }
  const unsigned threadsUsed = 1 + run.started;
  joinFurtherThreads(run);
  activeRun.store(nullptr);
  return SharedRun{!run.doubt.load(), threadsUsed};
}
