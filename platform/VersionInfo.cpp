#include "platform/VersionInfo.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr std::size_t kMarkSize = 16;

// The program's own block, built into the executable. The reader finds it by
// its mark; the bytes must stay in the binary even though nothing but the reader
// looks at them, hence "used".
#define ZO_S(name, value) name "\0" value "\0"
[[gnu::used]] const unsigned char kProgramBlock[] =
    "ZO-VERSION-BLOCK"
    "\x00\x00\x00\x00"  // length 0: up to the closing empty name
    "\x00\x00\x00\x00"  // file flags
    "\x3F\x00\x00\x00"  // file-flags mask
    "\x01\x00\x00\x00"  // file type: application
    "\x00\x00\x00\x00"  // subtype
    "\x00\x00\x00\x00"  // reserved
    ZO_S("CompanyName", "Лаборатория ZeltorOmra")
    ZO_S("FileDescription", "ZeltorOmra: модель искусственной эволюции на поле клеток")
    ZO_S("FileVersion", ZO_VERSION)
    ZO_S("InternalName", "ZeltorOmra")
    ZO_S("LegalCopyRight", "Авторы ZeltorOmra")
    ZO_S("LegalTradeMarks", "")
    ZO_S("OriginalFileName", "ZeltorOmra")
    ZO_S("ProductName", "ZeltorOmra")
    ZO_S("ProductVersion", "0.6.3")
    ZO_S("Comments", "Ресурсы, организмы, мутации и отбор на замкнутом поле")
    ZO_S("SpecialBuild", "")
    ZO_S("PrivateBuild", "")
    "";  // the closing empty name is the literal's own terminating zero
#undef ZO_S

// The mark is taken from the block itself, so that the executable holds it once
// and a search of the file cannot stop at a stray copy.
const char* Mark() { return reinterpret_cast<const char*>(kProgramBlock); }

uint32_t ReadLE(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return uint32_t(u[0]) | (uint32_t(u[1]) << 8) | (uint32_t(u[2]) << 16) | (uint32_t(u[3]) << 24);
}

void WriteLE(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Decodes the part after the mark and length; `end` bounds it.
bool DecodeBody(const char* p, const char* end, TVersionBlock& block) {
  if (end - p < 20) return false;
  block.FileFlags = ReadLE(p);
  block.FileFlagsMask = ReadLE(p + 4);
  block.FileType = ReadLE(p + 8);
  block.FileSubtype = ReadLE(p + 12);
  p += 20;
  block.Strings.clear();
  while (p < end) {
    const char* nameEnd = static_cast<const char*>(std::memchr(p, 0, end - p));
    if (!nameEnd) return false;
    if (nameEnd == p) return true;  // the closing empty name
    const char* valueStart = nameEnd + 1;
    if (valueStart >= end) return false;
    const char* valueEnd = static_cast<const char*>(std::memchr(valueStart, 0, end - valueStart));
    if (!valueEnd) return false;
    block.Strings[std::string(p, nameEnd)] = std::string(valueStart, valueEnd);
    p = valueEnd + 1;
  }
  return false;
}

}  // namespace

std::string TVersionBlock::Value(const std::string& name) const {
  auto it = Strings.find(name);
  return it == Strings.end() ? std::string() : it->second;
}

const unsigned char* ProgramVersionBlockBytes(std::size_t* size) {
  if (size) *size = sizeof kProgramBlock;
  return kProgramBlock;
}

const TVersionBlock& ProgramVersionBlock() {
  static const TVersionBlock block = [] {
    TVersionBlock b;
    DecodeVersionBlock(reinterpret_cast<const char*>(kProgramBlock), sizeof kProgramBlock, b);
    return b;
  }();
  return block;
}

std::string EncodeVersionBlock(const TVersionBlock& block) {
  std::string body;
  WriteLE(body, block.FileFlags);
  WriteLE(body, block.FileFlagsMask);
  WriteLE(body, block.FileType);
  WriteLE(body, block.FileSubtype);
  WriteLE(body, 0);
  for (const auto& [name, value] : block.Strings) {
    if (name.empty()) continue;
    body += name;
    body.push_back('\0');
    body += value;
    body.push_back('\0');
  }
  body.push_back('\0');
  std::string out(Mark(), kMarkSize);
  WriteLE(out, static_cast<uint32_t>(body.size()));
  return out + body;
}

// A length of zero (the compiled-in block cannot know its own length in a
// string literal) means "up to the closing empty name".
bool DecodeVersionBlock(const char* data, std::size_t size, TVersionBlock& block) {
  if (size < kMarkSize + 4 || std::memcmp(data, Mark(), kMarkSize) != 0) return false;
  const uint32_t length = ReadLE(data + kMarkSize);
  const char* body = data + kMarkSize + 4;
  const std::size_t room = size - kMarkSize - 4;
  if (length > room) return false;
  const std::size_t limit = length == 0 ? std::min<std::size_t>(room, 64 * 1024) : length;
  TVersionBlock decoded;
  if (!DecodeBody(body, body + limit, decoded)) return false;
  block = std::move(decoded);
  return true;
}

bool ReadVersionBlock(const std::string& path, TVersionBlock& block) {
  block = TVersionBlock();
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < kMarkSize) return false;
    const char* begin = bytes.data();
    const char* end = begin + bytes.size();
    for (const char* p = begin; p + kMarkSize <= end; ++p) {
      p = static_cast<const char*>(std::memchr(p, Mark()[0], end - p));
      if (!p || p + kMarkSize > end) break;
      if (std::memcmp(p, Mark(), kMarkSize) != 0) continue;
      if (DecodeVersionBlock(p, end - p, block)) return true;
    }
  } catch (...) {
  }
  block = TVersionBlock();
  return false;
}

bool IsExecutableFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  if (!in.read(head, 4)) return false;
  if (head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') return true;
  return head[0] == 'M' && head[1] == 'Z';
}
