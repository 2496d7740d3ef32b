#pragma once
// A pass of a refinement step's check shared among threads: the records cut into chunks that
// each thread takes in turn, every thread keeping its own result, the calling thread taking
// chunks too and alone reporting progress, so the window it serves keeps answering.

#include <cstddef>
#include <cstdint>

#include "mesh/memory_room.h"
#include "mesh/progress.h"

// The threads a step may share its check with, as the caller decided from the system.
struct StepThreads {
  unsigned count = 1;  // threads in all, the calling one included; 0 counts as 1
  // Run first on every other thread with `setUpBytes` of memory that stays that thread's until
  // it ends: the program gives its crash report a stack of its own there, one per thread.
  void (*setUp)(void* memory, std::size_t bytes) = nullptr;
  std::size_t setUpBytes = 0;
  // Records a thread takes at a time. Large enough that taking one costs nothing beside its
  // work; tests make it small so that even a small mesh is shared out.
  std::size_t chunkRecords = std::size_t{1} << 14;
};

// More threads than this are never started, whatever the machine has.
constexpr unsigned maxStepThreads = 64;

// The stack each further thread runs on; its work walks no deeper than a few frames.
constexpr std::size_t sharedPassStackBytes = std::size_t{512} << 10;

// Memory each further thread takes: its stack, its set-up memory and their guard pages.
uint64_t bytesPerFurtherThread(const StepThreads& threads);

// `threads`, cut to what fits in `room` once the step's own `stepBytes` are taken (with the
// room's safety margin kept): a thread's memory counts like the mesh's. One at least.
StepThreads threadsThatFit(const StepThreads& threads, const MemoryRoom& room, uint64_t stepBytes);

// One pass's work, given to every thread. `thread` numbers the caller's threads from 0 (the
// calling one); a thread writes only its own result.
class SharedPass {
 public:
  virtual ~SharedPass() = default;
  // Checks records [first, end) into the result of `thread`; false on any doubt. Must not
  // throw, allocate or write anything shared.
  virtual bool checkChunk(std::size_t first, std::size_t end, unsigned thread) = 0;
};

struct SharedRun {
  bool sound;        // every chunk checked true; false stops the pass at the first doubt
  unsigned threads;  // threads the pass ran on, the calling one included
};

// Runs `pass` over records [0, count) on at most threads.count threads, fewer where the
// records make fewer chunks or a thread cannot be started (silently: the calling thread then
// takes more chunks). Reports `passName` to `progress` from the calling thread only. Every
// thread has ended when it returns; a process that exits during it (from `progress`) first
// stops the other threads and waits for them, so none reads memory that exit frees.
SharedRun runSharedPass(SharedPass& pass, std::size_t count, const StepThreads& threads,
                        StepProgress* progress, const char* passName);
