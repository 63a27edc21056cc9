#pragma once
// A full disk in small for the tests of whole-or-nothing writing.
#include <signal.h>
#include <sys/resource.h>

// Runs `write` while this process may not write files past `bytes` (a write
// past the limit fails instead of stopping the process) and returns what
// `write` returns.
template <class TWrite>
auto WithFileSizeLimit(rlim_t bytes, TWrite write) {
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit lim = old;
  lim.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &lim);
  const auto result = write();
  setrlimit(RLIMIT_FSIZE, &old);
  return result;
}
