#pragma once
// Allocations of the model's test program that fail on purpose: the program
// replaces the global operator new, so that one chosen allocation throws
// std::bad_alloc as an exhausted memory would.

// The allocation `n` allocations from now (0: the very next) fails; every
// other one succeeds.
void FailAllocationAfter(long n);
// No allocation fails from now on. True when the chosen one did fail.
bool StopFailingAllocations();
