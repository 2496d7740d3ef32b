#pragma once
// The program's own last word when it dies of a fatal signal: one line on standard error
// naming the signal and the address-space limit, then the signal's usual end and status.

#include <cstddef>
#include <cstdint>

constexpr std::uint64_t noAddressSpaceLimit = UINT64_MAX;

// The report for `signal` under a limit of `limitBytes` (or noAddressSpaceLimit), with its
// newline, into `buffer`, cut to fit and NUL-terminated; returns its length. It allocates
// nothing and calls no library function, so a signal handler can use it.
std::size_t formatCrashReport(char* buffer, std::size_t size, int signal, std::uint64_t limitBytes);

// From a handler of `signal`: the signal's default action, delivered once the handler
// returns, so the process ends as it would have without one and its status names it.
void endWithDefaultAction(int signal);

// Handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT. Installed before SDL_Init, they
// keep SDL 1.2's own crash handler out, which only takes signals nobody else handles.
void installCrashReport();
