#include "files/uTextFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/Cp1251.h"
#include "platform/FileOpen.h"

namespace {
constexpr size_t kBufferSize = 1 << 18;

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' ' && c != '\n'; }
}  // namespace

TTextReader::~TTextReader() {
  Close();
  std::free(Buffer);
}

bool TTextReader::Open(const std::string& path) {
  Close();
  Fd = OpenRegularFile(path);  // never waits on a pipe in the place of a file
  if (Fd < 0) return false;
  struct stat st {};
  if (fstat(Fd, &st) != 0) {
    const int error = errno;
    Close();
    errno = error;
    return false;
  }
  FileSize = static_cast<uint64_t>(st.st_size);
  Consumed = 0;
  if (!Buffer) {
    Capacity = kBufferSize;
    Buffer = static_cast<char*>(std::malloc(Capacity));
  }
  Pos = Len = 0;
  AtFileEnd = false;
  EndHit = TooLong = false;
  return true;
}

void TTextReader::Close() {
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
  Pos = Len = 0;
  AtFileEnd = true;
}

bool TTextReader::Fill() {
  if (AtFileEnd) return false;
  if (Pos > 0) {
    std::memmove(Buffer, Buffer + Pos, Len - Pos);
    Len -= Pos;
    Pos = 0;
  }
  if (Len == Capacity) {
    if (Capacity >= TextMaxLine) {
      TooLong = true;
      return false;
    }
    Capacity *= 2;
    Buffer = static_cast<char*>(std::realloc(Buffer, Capacity));
  }
  for (;;) {
    const ssize_t n = ::read(Fd, Buffer + Len, Capacity - Len);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      AtFileEnd = true;
      return false;
    }
    Len += static_cast<size_t>(n);
    return true;
  }
}

bool TTextReader::Eof() {
  if (Pos < Len) return false;
  if (Fd < 0) return true;
  return !Fill() || Pos >= Len;
}

bool TTextReader::ReadRaw(std::string_view& line) {
  size_t scanFrom = Pos;
  for (;;) {
    const char* nl = Pos < Len ? static_cast<const char*>(std::memchr(Buffer + scanFrom, '\n', Len - scanFrom)) : nullptr;
    if (nl) {
      size_t end = static_cast<size_t>(nl - Buffer);
      const size_t start = Pos;
      Consumed += end + 1 - Pos;
      Pos = end + 1;
      if (end > start && Buffer[end - 1] == '\r') --end;
      line = std::string_view(Buffer + start, end - start);
      return true;
    }
    const size_t had = Len - Pos;
    if (Fd < 0 || !Fill()) {
      if (TooLong) {
        // Drop the rest of the file: a line this long is not one of ours.
        Consumed = FileSize;
        Pos = Len = 0;
        AtFileEnd = true;
        line = {};
        return false;
      }
      if (Pos >= Len) {
        line = {};
        return false;
      }
      // The last line has no line end.
      size_t end = Len;
      const size_t start = Pos;
      Consumed += Len - Pos;
      Pos = Len;
      if (end > start && Buffer[end - 1] == '\r') --end;
      line = std::string_view(Buffer + start, end - start);
      return true;
    }
    scanFrom = Pos + had;
  }
}

std::string TTextReader::ReadString() { return Cp1251ToUtf8(ReadRaw()); }

bool TTextReader::ParseNumber(std::string_view text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool TTextReader::ReadNumber(int32_t& value) {
  // Fast path: a whole line in the buffer.
  std::string_view line;
  for (;;) {
    if (!ReadRaw(line)) {
      if (line.empty()) {
        value = 0;
        EndHit = true;
        return true;
      }
    }
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) {
      if (Eof()) {
        value = 0;
        EndHit = true;
        return true;
      }
      continue;  // a blank line before the number
    }
    size_t j = i;
    while (j < line.size() && !IsBlank(line[j])) ++j;
    return ParseNumber(line.substr(i, j - i), value);
  }
}

bool TTextReader::ReadLineNumber(int32_t& value) {
  std::string_view line;
  if (!ReadRaw(line)) EndHit = true;
  size_t i = 0, j = line.size();
  while (i < j && IsBlank(line[i])) ++i;
  while (j > i && IsBlank(line[j - 1])) --j;
  return ParseNumber(line.substr(i, j - i), value);
}

int32_t Saturate32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

std::string LineBytes(std::string_view text) {
  std::string bytes = Utf8ToCp1251(text);
  for (char& c : bytes)
    if (c == '\r' || c == '\n') c = ' ';
  return bytes;
}

bool TTextWriter::Fits(size_t lineSize) {
  if (lineSize + 2 <= TextMaxLine) return true;
  TooLong = true;
  File.Abandon();
  return false;
}

bool TTextWriter::WriteString(std::string_view text) {
  const std::string bytes = LineBytes(text);
  if (!Fits(bytes.size())) return false;
  File.Write(bytes);
  File.Write("\r\n", 2);
  return true;
}

bool TTextWriter::WriteRaw(std::string_view text) {
  if (!Fits(text.size())) return false;
  File.Write(text);
  File.Write("\r\n", 2);
  return true;
}

void TTextWriter::WriteNumber(int64_t value) {
  char* out = File.Reserve(24);
  char tmp[24];
  int n = 0;
  uint64_t u = value < 0 ? static_cast<uint64_t>(-(value + 1)) + 1 : static_cast<uint64_t>(value);
  do {
    tmp[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u);
  size_t k = 0;
  if (value < 0) out[k++] = '-';
  while (n > 0) out[k++] = tmp[--n];
  out[k++] = '\r';
  out[k++] = '\n';
  File.Advance(k);
}
