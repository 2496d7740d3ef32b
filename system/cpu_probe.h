#pragma once
// Reads how many processors the process may keep busy at once: what a refinement step's check
// is shared among. A machine's size is no answer where the process is pinned or rationed.

#include <string>

// Reads the kernel's files below `root` ("/" in the program, a small copied tree in tests):
// the processors /proc/self/status lists as allowed (the mask sched_getaffinity gives, which
// `taskset -c 0` makes one), cut to the tightest CPU quota of the process's cgroup and its
// ancestors, rounded up (cgroup v2's cpu.max, v1's cpu.cfs_quota_us over cpu.cfs_period_us).
// At least 1: a list that cannot be read counts as one processor, a level without a quota
// limits nothing.
unsigned readUsableProcessors(const std::string& root);

// The processors a list such as "0-3,8,10-11" names; 0 for one that does not parse.
unsigned processorsInList(const std::string& list);
