#pragma once
// Allocations of a test program that fail on purpose: the program replaces
// the global operator new, so that a chosen allocation throws std::bad_alloc
// as an exhausted memory would.
#include <cstddef>

// The allocation `n` allocations from now (0: the very next) fails; every
// other one succeeds.
void FailAllocationAfter(long n);
// From now on every single allocation of more than `bytes` fails, as it does
// when that much memory is no longer to be had; smaller ones succeed.
void FailAllocationsLargerThan(std::size_t bytes);
// The next allocation of more than `bytes` fails, as the one that asks for
// more than is left would; every other one succeeds.
void FailNextAllocationLargerThan(std::size_t bytes);
// No allocation fails from now on. True when a chosen one did fail.
bool StopFailingAllocations();
