#include "tests/FailingAlloc.h"

#include <cstdlib>
#include <new>

namespace {
long Countdown = -1;  // allocations left before the failing one; -1: none fails
std::size_t Largest = static_cast<std::size_t>(-1);  // larger allocations fail
bool Once = false;  // only the first of them
bool Failed = false;
}  // namespace

void FailAllocationAfter(long n) {
  Countdown = n;
  Failed = false;
}

void FailAllocationsLargerThan(std::size_t bytes) {
  Largest = bytes;
  Once = false;
  Failed = false;
}

void FailNextAllocationLargerThan(std::size_t bytes) {
  FailAllocationsLargerThan(bytes);
  Once = true;
}

bool StopFailingAllocations() {
  Countdown = -1;
  Largest = static_cast<std::size_t>(-1);
  return Failed;
}

// Every allocation goes through malloc, every release through free, so that
// the pairs stay matched under the address sanitizer too.
void* operator new(std::size_t size) {
  if ((Countdown >= 0 && Countdown-- == 0) || size > Largest) {
    Failed = true;
    if (Once) Largest = static_cast<std::size_t>(-1);
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
