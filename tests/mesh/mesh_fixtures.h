#pragma once
// Meshes and helpers the mesh tests and the fuzzer share: the start-up icosahedron,
// refinement step by step, records compared and hashed, and checks that hold after
// every completed edit. Nothing here needs GoogleTest.

#include <cstdint>
#include <optional>
#include <string>

#include "mesh/mesh.h"
#include "mesh/refine.h"

Mesh icosahedron();

// The icosahedron refined as the t key does it, one step at a time.
struct Stepper {
  Mesh mesh = icosahedron();
  Refinement refinement;
  MemoryRoom room;      // what each step may use; unlimited unless a test sets it
  StepThreads threads;  // what each step's check may share its work among; one unless set
  std::optional<StepFigures> figures;  // what the last step returned

  // Runs one step and returns what it printed, at the program's precision; `input` is
  // what standard input holds for the pause after a failed check.
  std::string step(const std::string& input = "");
  void steps(int count);
};

// Ways to share a check out: one thread, and several with chunks so small that even the
// icosahedron is cut up, up to more threads than chunks.
extern const StepThreads sharings[4];

// Room for one more split, as a refinement step reserves before it splits: a copy of a
// mesh holds exactly its records, page slack aside.
void reserveForOneSplit(Mesh& mesh);

// Every field of every record equal, the coordinates bit for bit: the same operations
// in the same order give the same doubles (and padding bytes are not compared).
bool sameRecords(const Mesh& a, const Mesh& b);
// FNV-1a over every field of every record, in the byte layout the model hashes.
uint64_t meshHash(const Mesh& mesh);
std::string hexHash(uint64_t hash);
// Empty when the mesh validates, is a closed genus-0 surface, and every face has
// positive area with its normal pointing away from the origin.
std::string sphereFaults(const Mesh& mesh);
