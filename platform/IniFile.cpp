#include "platform/IniFile.h"


#include <cerrno>
#include <cstdio>
#include <limits>
#include <string_view>
#include <sys/stat.h>

#include "platform/Cp1251.h"
#include "platform/FileOpen.h"
#include "platform/SafeFile.h"

namespace {

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

std::string Lower(std::string_view s) { return LowerCp1251(Trim(s)); }

// What a text is written as: a key, a value that is read back without blanks
// at its ends, or a value that must come back exactly.
enum class TPart { Key, Value, ExactValue };

// Code page 1251 text (with its character references) as a key or value
// line holds it: a character the line could not give back is written as a
// character reference too. These are the line ends anywhere; in a key and an
// exact value a blank at either end (the reader trims it); and in a key every
// "=" (the key would end there) and a "[" at the start (the line would open a
// section). Text that needs none of this is written as it is, as earlier
// versions wrote it.
std::string LineText(const std::string& text, TPart part) {
  const bool key = part == TPart::Key;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool edge = (i == 0 || i + 1 == text.size()) && part != TPart::Value;
    if (c == '\r' || c == '\n' || (edge && c <= ' ') || (key && (c == '=' || (i == 0 && c == '['))))
      out += "&#" + std::to_string(c) + ";";
    else
      out.push_back(static_cast<char>(c));
  }
  return out;
}

std::string KeyText(const std::string& key) { return LineText(Utf8ToCp1251Refs(key), TPart::Key); }

// The reverse of LineText for a value: exactly the references it writes there
// ("&#13;" and "&#10;" anywhere; "&#1;" to "&#32;" as the first or the last
// character of an exact value) back to their characters; any other "&#...;"
// is left to Cp1251RefsToUtf8 or stays as it stands.
std::string ValueText(std::string_view text) {
  std::string out;
  size_t plain = 0;  // start of the text not yet copied
  for (size_t i = text.find("&#"); i != std::string_view::npos; i = text.find("&#", i + 1)) {
    size_t j = i + 2;
    unsigned c = 0;
    if (j < text.size() && text[j] >= '1' && text[j] <= '9')
      while (j < text.size() && j - i - 2 < 2 && text[j] >= '0' && text[j] <= '9') c = c * 10 + (text[j++] - '0');
    if (c == 0 || j >= text.size() || text[j] != ';') continue;
    const bool edge = i == 0 || j + 1 == text.size();
    if (!(c == '\r' || c == '\n' || (edge && c <= ' '))) continue;
    out.append(text.substr(plain, i - plain));
    out.push_back(static_cast<char>(c));
    plain = j + 1;
    i = j;
  }
  out.append(text.substr(plain));
  return out;
}

// A path that names no file at all (as against one that cannot be read).
bool NoFile(int error) { return error == ENOENT || error == ENOTDIR; }

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

TIniFile::TIniFile(std::string fileName, const std::string& startFrom) : Path(std::move(fileName)) {
  int error = 0;
  if (Load(Path, Content, error)) return;
  if (!NoFile(error)) {
    Err = error;
    return;
  }
  struct stat st {};
  if (!startFrom.empty() && !Load(startFrom, Content, error) && ::stat(startFrom.c_str(), &st) == 0 &&
      S_ISREG(st.st_mode))
    StartErr = error;
}

TIniFile::~TIniFile() {
  if (!Pending.empty()) UpdateFile();
}

void TIniFile::TContent::Parse(const std::string& text) {
  Sections.clear();
  Index.clear();
  Sections.emplace_back();  // the lines before the first section
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    const std::string_view line(text.data() + start, end - start);
    start = next;
    std::string_view name, key, value;
    if (SectionOf(line, name)) {
      Sections.emplace_back();
      Sections.back().Header = std::string(line);
      // The first section of a name counts; a later one of the same name is not read.
      Index.emplace(Lower(name), Sections.size() - 1);
      continue;
    }
    TSection& s = Sections.back();
    s.Lines.emplace_back(line);
    if (!Trim(line).empty()) s.End = s.Lines.size();
    if (Sections.size() > 1 && KeyOf(line, key, value)) s.Keys.emplace(Lower(key), s.Lines.size() - 1);
  }
}

const std::string* TIniFile::TContent::Find(const std::string& section, const std::string& key,
                                           std::string& value) const {
  const auto sec = Index.find(Lower(section));
  if (sec == Index.end()) return nullptr;
  const TSection& s = Sections[sec->second];
  const auto at = s.Keys.find(Lower(key));
  if (at == s.Keys.end()) return nullptr;
  const std::string& line = s.Lines[at->second];
  std::string_view k, v;
  KeyOf(line, k, v);
  value.assign(v);
  return &line;
}

void TIniFile::TContent::Apply(const TWrite& write) {
  std::string line = write.Key + "=" + write.Value;
  const std::string lowerSection = Lower(write.Section), lowerKey = Lower(write.Key);
  const auto sec = Index.find(lowerSection);
  if (sec == Index.end()) {
    // A new section goes at the end of the file.
    TSection s;
    s.Header = "[" + write.Section + "]";
    s.Lines.push_back(std::move(line));
    s.End = 1;
    s.Keys.emplace(lowerKey, 0);
    Sections.push_back(std::move(s));
    Index.emplace(lowerSection, Sections.size() - 1);
    return;
  }
  TSection& s = Sections[sec->second];
  const auto at = s.Keys.find(lowerKey);
  if (at != s.Keys.end()) {
    s.Lines[at->second] = std::move(line);
    return;
  }
  // A new key goes after the last line of the section that is not blank; only
  // blank lines follow it, so no key's line moves.
  s.Lines.insert(s.Lines.begin() + static_cast<std::ptrdiff_t>(s.End), std::move(line));
  s.Keys.emplace(lowerKey, s.End);
  ++s.End;
}

bool TIniFile::Load(const std::string& path, TContent& content, int& error) {
  std::string text;
  errno = 0;
  const bool read = ReadRegularFile(path, text);
  error = read ? 0 : errno != 0 ? errno : EIO;
  content.Parse(text);
  return read;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  return ReadStringAtStoredKey(section, KeyText(key), def);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  return ReadIntegerAtStoredKey(section, KeyText(key), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const {
  return Content.Index.count(Lower(Utf8ToCp1251Refs(section))) > 0;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  std::string value;
  return Content.Find(Utf8ToCp1251Refs(section), KeyText(key), value) != nullptr;
}

std::string TIniFile::ReadStoredText(const std::string& section, const std::string& key) const {
  std::string value;
  Content.Find(Utf8ToCp1251Refs(section), KeyText(key), value);
  return value;
}

std::string TIniFile::ReadStringAtStoredKey(const std::string& section, const std::string& storedKey,
                                            const std::string& def) const {
  std::string value;
  if (!Content.Find(Utf8ToCp1251Refs(section), storedKey, value)) return def;
  // Whole, however long: a name or a path comes back as it was written.
  return Cp1251RefsToUtf8(ValueText(value));
}

int32_t TIniFile::ReadIntegerAtStoredKey(const std::string& section, const std::string& storedKey, int32_t def) const {
  std::string value;
  if (!Content.Find(Utf8ToCp1251Refs(section), storedKey, value)) return def;
  int32_t v = 0;
  return ParseInteger(value, v) ? v : def;
}

bool TIniFile::KeyStorable(const std::string& key) {
  return !key.empty();
}

void TIniFile::Write(const std::string& section, const std::string& key, const std::string& value, bool exact) {
  TWrite w{Utf8ToCp1251Refs(section), KeyText(key),
           LineText(Utf8ToCp1251Refs(value), exact ? TPart::ExactValue : TPart::Value)};
  Content.Apply(w);
  Pending.push_back(std::move(w));
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Write(section, key, value, false);
}

void TIniFile::WriteExactString(const std::string& section, const std::string& key, const std::string& value) {
  Write(section, key, value, true);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::UpdateFile() {
  if (Pending.empty()) return true;
  // Another object may have written the file since this one read it: its keys
  // stay. A file that is there but cannot be read is never written over: what
  // it holds would be lost.
  TContent content;
  int error = 0;
  if (!Load(Path, content, error)) {
    if (!NoFile(error)) {
      Err = error;
      return false;
    }
    if (StartErr != 0) {
      Err = StartErr;
      return false;
    }
    content = Content;
  }
  for (const TWrite& w : Pending) content.Apply(w);
  TSafeFileWriter out(Path);
  if (!out.Ok()) {
    Err = out.Error();
    return false;
  }
  for (const TSection& s : content.Sections) {
    if (&s != &content.Sections.front()) {
      out.Write(s.Header);
      out.Write("\r\n", 2);
    }
    for (const std::string& line : s.Lines) {
      out.Write(line);
      out.Write("\r\n", 2);
    }
  }
  if (!out.Commit()) {
    Err = out.Error();
    return false;
  }
  Content = std::move(content);
  Pending.clear();
  Err = 0;
  return true;
}
