#include "platform/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/FileOpen.h"

namespace {
constexpr size_t kBufferSize = 1 << 20;
constexpr const char* kTempEnd = ".saving";  // ".<name>.XXXXXX.saving" (a long name shortened, see TempBase)

// The file a path finally names: a symbolic link is followed (also one whose
// target does not exist yet), so that saving updates the linked file instead
// of replacing the link by a plain file.
std::string FollowLinks(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return path;
    std::string target(buf.data(), static_cast<size_t>(n));
    if (target[0] != '/') {
      const size_t slash = path.rfind('/');
      if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    }
    path = std::move(target);
  }
  return path;
}

// The part of a temporary file's name taken from the target's name `base`:
// the name itself, or, where the temporary name would pass the folder's limit
// on a name's length, as much of its beginning as fits (whole characters) with
// "~" and a check value of the whole name, so that the temporaries of two long
// names that begin alike still tell their targets apart.
std::string TempBase(const std::string& folder, const std::string& base) {
  const long folderLimit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  const size_t limit = folderLimit > 0 ? static_cast<size_t>(folderLimit) : NAME_MAX;
  const size_t around = 1 + 1 + 6 + std::strlen(kTempEnd);  // "." base "." XXXXXX ".saving"
  if (base.size() + around <= limit) return base;
  uint32_t check = 2166136261u;  // FNV-1a of the whole name
  for (unsigned char c : base) check = (check ^ c) * 16777619u;
  char tail[16];
  std::snprintf(tail, sizeof tail, "~%08x", static_cast<unsigned>(check));
  const size_t used = around + std::strlen(tail);
  size_t keep = std::min(limit > used ? limit - used : 0, base.size());
  while (keep > 0 && keep < base.size() && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
  return base.substr(0, keep) + tail;
}

bool TempNameOf(const std::string& name, const std::string& base) {
  const std::string head = "." + base + ".";
  const size_t endLength = std::strlen(kTempEnd);
  if (name.size() != head.size() + 6 + endLength || name.compare(0, head.size(), head) != 0 ||
      name.compare(name.size() - endLength, endLength, kTempEnd) != 0)
    return false;
  for (size_t i = head.size(); i < head.size() + 6; ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

// Removes the temporary files an earlier save of the same target left behind
// when it was killed. Ours only: of our name pattern, ours by owner, and not
// locked by a save still running in some process.
void RemoveLeftovers(const std::string& folder, const std::string& base) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  while (const dirent* e = readdir(dir)) {
    if (!TempNameOf(e->d_name, base)) continue;
    const std::string path = folder + e->d_name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(path.c_str());
    ::close(fd);
  }
  closedir(dir);
}

}  // namespace

TSafeFileWriter::TSafeFileWriter(const std::string& path) {
  if (path.empty()) {
    Err = ENOENT;
    return;
  }
  Target = FollowLinks(path);
  struct stat st {};
  mode_t mode = 0;
  if (stat(Target.c_str(), &st) == 0) {
    // A folder, a device or a file we may not write is refused as the plain
    // write would be: the rename must not get round a read-only target.
    if (!S_ISREG(st.st_mode)) {
      Err = S_ISDIR(st.st_mode) ? EISDIR : ErrorNotRegularFile;
      return;
    }
    if (access(Target.c_str(), W_OK) != 0) {
      Err = errno;
      return;
    }
    mode = st.st_mode & 07777;
  } else if (errno != ENOENT) {
    // A name too long, a folder on the way that may not be entered or is no
    // folder: the file cannot be made either, and the system says why now.
    Err = errno;
    return;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  const size_t slash = Target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : Target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? Target : Target.substr(slash + 1);
  const std::string tempBase = TempBase(folder, base);
  RemoveLeftovers(folder, tempBase);
  std::string pattern = folder + "." + tempBase + ".XXXXXX" + kTempEnd;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  Fd = mkstemps(name.data(), static_cast<int>(std::strlen(kTempEnd)));
  if (Fd < 0) {
    Err = errno;
    return;
  }
  Temp = name.data();
  // Held until the file is renamed or dropped: a later save does not take a
  // file that is still being written for a leftover.
  flock(Fd, LOCK_EX | LOCK_NB);
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
    if (n <= 0) Fail(n < 0 ? errno : EIO);
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
  if (Good && fsync(Fd) != 0) Fail(errno);
  // Renamed while still open and locked, then closed (the data is on the
  // disk already, so closing cannot lose it).
  if (Good && std::rename(Temp.c_str(), Target.c_str()) != 0) Fail(errno);
  if (!Good) ::unlink(Temp.c_str());
  ::close(Fd);
  Fd = -1;
  Temp.clear();
  return Good;
}

void TSafeFileWriter::Fail(int error) {
  Good = false;
  Err = error;
}

void TSafeFileWriter::Abandon() {
  if (!Temp.empty()) {
    ::unlink(Temp.c_str());
    Temp.clear();
  }
  if (Fd >= 0) {
    ::close(Fd);
    Fd = -1;
  }
  Good = false;
}
