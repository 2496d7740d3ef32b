#pragma once
// Reads how many more bytes the process can really get: the tightest of its memory cgroup's
// room, the system's available memory (so nothing goes to swap) and its address-space limit.

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "mesh/memory_room.h"

// Reads the kernel's files below `root`: "/" in the program, a small copied tree in tests.
// Every reading that cannot be made admits more, never less, and is bounded by the others:
// - no memory cgroup found (no mount holds the memory controller, or the process's cgroup
//   lies outside what the mount shows): `cgroup` stays unlimited;
// - a mount whose root lies above the cgroup namespace's root (a namespace made without
//   mounting its own cgroup filesystem): the process's cgroup is the one whose cgroup.procs
//   lists it, searched for in a bounded number of directories;
// - a level without a limit file, or with "max": that level limits nothing, the walk goes
//   on up to the highest level the mount shows;
// - a limited level whose usage cannot be read: the usage of the level below it counts,
//   since a parent is charged at least what its children are;
// - no memory.stat: nothing counts as reclaimable (this one admits less);
// - no MemAvailable line, or no /proc/self/statm: that reading stays unlimited.
// What no file inside can tell is not counted: on v1, a limit on a parent that the mount
// hides is charged for that parent's other children too, so the room there can be less.
// Reading allocates: where even that fails, the room is none, so nothing grows.
MemoryRoom readMemoryRoom(const std::string& root);

// The process's cgroup for `controller` ("memory", "cpu") as the mount shows it. One rule
// picks the hierarchy: cgroup v2 where its root lists the controller, otherwise v1's mount
// of it (a hybrid system has both, with memory on v1). Of the mounts that show the
// process's cgroup and are not hidden by a later mount at the same place, the one that
// shows the most of its ancestors wins.
struct Cgroup {
  std::string directory;  // the process's own cgroup, below root
  std::string top;        // the highest level the mount shows, below root
  bool version2 = false;  // which set of file names applies
};
std::optional<Cgroup> findCgroup(const std::string& root, const std::string& controller);
std::optional<Cgroup> findMemoryCgroup(const std::string& root);

// MemAvailable in bytes, or unlimitedRoom when the line is missing.
uint64_t availableMemoryFrom(std::istream& meminfo);
