#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <string_view>

#include "platform/Cp1251.h"
#include "platform/SafeFile.h"

namespace {

constexpr size_t kMaxValue = 2047;

std::string_view Trim(std::string_view s) {
  size_t i = 0, j = s.size();
  while (i < j && static_cast<unsigned char>(s[i]) <= ' ') ++i;
  while (j > i && static_cast<unsigned char>(s[j - 1]) <= ' ') --j;
  return s.substr(i, j - i);
}

// The section name of a "[Name]" line, or false when the line is no section line.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line[0] != '[') return false;
  const size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

// The key and value of a "Key=Value" line.
bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return !key.empty();
}

bool Same(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerCp1251(a) == LowerCp1251(b);
}

bool HexDigit(char c, uint32_t& d) {
  if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
  else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
  else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
  else return false;
  return true;
}

bool ParseInteger(std::string_view s, int32_t& out) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  int64_t v = 0;
  if (s[0] == '$' || (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))) {
    s.remove_prefix(s[0] == '$' ? 1 : 2);
    if (s.empty() || s.size() > 8) return false;
    uint32_t u = 0;
    for (char c : s) {
      uint32_t d = 0;
      if (!HexDigit(c, d)) return false;
      u = u * 16 + d;
    }
    // Eight hexadecimal digits cover the whole 32-bit pattern ($FFFFFFFF is -1).
    v = static_cast<int32_t>(u);
    out = negative ? static_cast<int32_t>(-static_cast<uint32_t>(v)) : static_cast<int32_t>(v);
    return true;
  }
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return false;
  out = static_cast<int32_t>(v);
  return true;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : Path(std::move(fileName)) { Lines = Load(Path, nullptr); }

TIniFile::~TIniFile() {
  if (!Pending.empty()) UpdateFile();
}

std::vector<std::string> TIniFile::Load(const std::string& path, bool* ok) {
  std::vector<std::string> lines;
  if (ok) *ok = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return lines;
  struct stat st {};
  std::string text;
  bool good = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  char chunk[65536];
  while (good) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) good = false;
    if (n <= 0) break;
    text.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  if (!good) return lines;
  if (ok) *ok = true;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    lines.emplace_back(text, start, end - start);
    start = next;
  }
  return lines;
}

long TIniFile::Find(const std::vector<std::string>& lines, const std::string& section, const std::string& key) {
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view name, k, v;
    if (SectionOf(lines[i], name)) {
      // The first section of the name counts; a later one of the same name is not read.
      if (inSection) return -1;
      inSection = Same(name, section);
      continue;
    }
    if (inSection && KeyOf(lines[i], k, v) && Same(k, key)) return static_cast<long>(i);
  }
  return -1;
}

void TIniFile::Apply(std::vector<std::string>& lines, const TWrite& write) {
  const std::string line = write.Key + "=" + write.Value;
  const long at = Find(lines, write.Section, write.Key);
  if (at >= 0) {
    lines[static_cast<size_t>(at)] = line;
    return;
  }
  // A new key goes after the last key line of the section's first appearance.
  long last = -1;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view name, k, v;
    if (SectionOf(lines[i], name)) {
      if (inSection) break;
      inSection = Same(name, write.Section);
      if (inSection) last = static_cast<long>(i);
      continue;
    }
    if (inSection && !Trim(lines[i]).empty()) last = static_cast<long>(i);
  }
  if (last >= 0) {
    lines.insert(lines.begin() + last + 1, line);
    return;
  }
  lines.push_back("[" + write.Section + "]");
  lines.push_back(line);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const std::string s = Utf8ToCp1251(section), k = Utf8ToCp1251(key);
  const long at = Find(Lines, s, k);
  if (at < 0) return def;
  std::string_view name, value;
  KeyOf(Lines[static_cast<size_t>(at)], name, value);
  if (value.size() > kMaxValue) value = value.substr(0, kMaxValue);
  return Cp1251ToUtf8(value);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  const long at = Find(Lines, Utf8ToCp1251(section), Utf8ToCp1251(key));
  if (at < 0) return def;
  std::string_view name, value;
  KeyOf(Lines[static_cast<size_t>(at)], name, value);
  int32_t v = 0;
  return ParseInteger(value, v) ? v : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const {
  const std::string s = Utf8ToCp1251(section);
  for (const std::string& line : Lines) {
    std::string_view name;
    if (SectionOf(line, name) && Same(name, s)) return true;
  }
  return false;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return Find(Lines, Utf8ToCp1251(section), Utf8ToCp1251(key)) >= 0;
}

bool TIniFile::KeyStorable(const std::string& key) {
  if (key.empty() || key.front() == '[') return false;
  if (static_cast<unsigned char>(key.front()) <= ' ' || static_cast<unsigned char>(key.back()) <= ' ') return false;
  return key.find_first_of("=\r\n") == std::string::npos;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  TWrite w{Utf8ToCp1251(section), Utf8ToCp1251(key), Utf8ToCp1251(value)};
  for (char& c : w.Value)
    if (c == '\r' || c == '\n') c = ' ';
  Apply(Lines, w);
  Pending.push_back(std::move(w));
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::UpdateFile() {
  if (Pending.empty()) return true;
  // Another object may have written the file since this one read it: its keys stay.
  bool read = false;
  std::vector<std::string> lines = Load(Path, &read);
  if (!read) lines = Lines;
  for (const TWrite& w : Pending) Apply(lines, w);
  TSafeFileWriter out(Path);
  if (!out.Ok()) return false;
  for (const std::string& line : lines) {
    out.Write(line);
    out.Write("\r\n", 2);
  }
  if (!out.Commit()) return false;
  Lines = std::move(lines);
  Pending.clear();
  return true;
}
