#include "platform/FileOpen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int OpenRegularFile(const std::string& path) {
  // Opened without waiting, so that a pipe cannot hold the open; the type is
  // then checked on the descriptor itself, and reads are made blocking again.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  auto refuse = [fd](int error) {
    ::close(fd);
    errno = error;
    return -1;
  };
  struct stat st {};
  if (fstat(fd, &st) != 0) return refuse(errno);
  if (!S_ISREG(st.st_mode)) return refuse(S_ISDIR(st.st_mode) ? EISDIR : ErrorNotRegularFile);
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return refuse(errno);
  return fd;
}

bool ReadRegularFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  int error = 0;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  if (error == 0) return true;
  bytes.clear();
  errno = error;
  return false;
}
