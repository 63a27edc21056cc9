#pragma once
// Runs a read that must not wait on a named pipe. If it is still waiting after
// a while, the pipe is opened for writing once, which releases it, and the
// test fails: the read blocked instead of refusing the pipe at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

template <class TRead>
void ExpectNoWaitOnPipe(const std::string& fifo, TRead read) {
  auto done = std::async(std::launch::async, read);
  if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    if (fd >= 0) ::close(fd);
    ADD_FAILURE() << "the read waited for a writer on " << fifo;
  }
  done.get();
}
