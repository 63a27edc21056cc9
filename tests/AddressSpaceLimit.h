#pragma once
// Memory that runs out, in small, for the tests of what a failed allocation leaves.
#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>

// Runs `run` while this process may map no more than `headroom` bytes beyond
// what it has mapped now (a larger allocation fails with std::bad_alloc
// instead of taking the machine's memory) and returns what `run` returns.
template <class TRun>
auto WithAddressSpaceHeadroom(size_t headroom, TRun run) {
  long pages = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  struct rlimit old {};
  getrlimit(RLIMIT_AS, &old);
  struct rlimit lim = old;
  lim.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + headroom;
  setrlimit(RLIMIT_AS, &lim);
  struct TRestore {
    rlimit Old;
    ~TRestore() { setrlimit(RLIMIT_AS, &Old); }
  } restore{old};
  return run();
}
