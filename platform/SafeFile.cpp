#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr size_t kBufferSize = 1 << 20;
}

TSafeFileWriter::TSafeFileWriter(const std::string& path) : Target(path) {
  if (path.empty()) return;
  struct stat st {};
  mode_t mode = 0;
  if (stat(path.c_str(), &st) == 0) {
    // A folder, a device or a file we may not write is refused as the plain
    // write would be: the rename must not get round a read-only target.
    if (!S_ISREG(st.st_mode) || access(path.c_str(), W_OK) != 0) return;
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folder + "." + base + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  Fd = mkstemp(name.data());
  if (Fd < 0) return;
  Temp = name.data();
  fchmod(Fd, mode);
  Buffer.resize(kBufferSize);
  Good = true;
}

TSafeFileWriter::~TSafeFileWriter() { Abandon(); }

void TSafeFileWriter::Flush() {
  size_t done = 0;
  while (Good && done < Used) {
    const ssize_t n = ::write(Fd, Buffer.data() + done, Used - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Good = false;
    else done += static_cast<size_t>(n);
  }
  Used = 0;
}

void TSafeFileWriter::Write(const char* data, size_t size) {
  if (!Good) return;
  while (size > 0) {
    if (Used == Buffer.size()) Flush();
    const size_t room = Buffer.size() - Used;
    const size_t n = size < room ? size : room;
    std::memcpy(Buffer.data() + Used, data, n);
    Used += n;
    data += n;
    size -= n;
  }
}

bool TSafeFileWriter::Commit() {
  if (Fd < 0) return false;
  Flush();
  if (Good && fsync(Fd) != 0) Good = false;
  if (::close(Fd) != 0) Good = false;
  Fd = -1;
  if (Good && std::rename(Temp.c_str(), Target.c_str()) != 0) Good = false;
  if (!Good) {
    ::unlink(Temp.c_str());
    Temp.clear();
    return false;
  }
  Temp.clear();
  return true;
}

void TSafeFileWriter::Abandon() {
  if (Fd >= 0) {
    ::close(Fd);
    Fd = -1;
  }
  if (!Temp.empty()) {
    ::unlink(Temp.c_str());
    Temp.clear();
  }
  Good = false;
}
