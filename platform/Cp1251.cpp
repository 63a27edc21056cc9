#include "platform/Cp1251.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The upper half of the code page, read once through iconv.
struct TCodeTable {
  std::array<std::string, 128> ToUtf8;                      // byte 0x80 + i -> UTF-8
  std::vector<std::pair<uint32_t, unsigned char>> FromCode;  // code point -> byte, sorted

  TCodeTable() {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("code page 1251 is not available");
    for (int i = 0; i < 128; ++i) {
      char in = static_cast<char>(0x80 + i);
      char out[8];
      char* pin = &in;
      char* pout = out;
      size_t inLeft = 1, outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &pin, &inLeft, &pout, &outLeft) == static_cast<size_t>(-1) || pout == out) {
        // A byte the code page leaves undefined (0x98) stands for the control
        // character of the same number, so that it comes back as it was.
        ToUtf8[i].clear();
        AppendUtf8(ToUtf8[i], 0x80u + static_cast<unsigned>(i));
      } else {
        ToUtf8[i].assign(out, pout);
      }
      FromCode.emplace_back(Decode(ToUtf8[i]), static_cast<unsigned char>(0x80 + i));
    }
    iconv_close(cd);
    std::sort(FromCode.begin(), FromCode.end());
  }

  static uint32_t Decode(const std::string& s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    if (s.size() == 2) return ((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu);
    if (s.size() == 3) return ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    return p[0];
  }
};

const TCodeTable& Table() {
  static const TCodeTable table;
  return table;
}

// The code page's byte for a character, or -1 when it has none.
int ByteOf(uint32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  const auto& from = Table().FromCode;
  auto it = std::lower_bound(from.begin(), from.end(), std::make_pair(cp, static_cast<unsigned char>(0)));
  return it != from.end() && it->first == cp ? it->second : -1;
}

// Reads one UTF-8 sequence at s[i]; returns its code point and advances i, or
// returns UINT32_MAX (and skips one byte) for a malformed sequence.
uint32_t NextCodePoint(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = 0;
  uint32_t cp = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    ++i;
    return UINT32_MAX;
  }
  if (i + len > s.size()) {
    ++i;
    return UINT32_MAX;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return UINT32_MAX;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += len;
  return cp;
}

unsigned char LowerByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);  // А..Я
  switch (c) {
    case 0xA8: return 0xB8;  // Ё
    case 0x80: return 0x90;  // Ђ
    case 0x81: return 0x83;  // Ѓ
    case 0x8A: return 0x9A;  // Љ
    case 0x8C: return 0x9C;  // Њ
    case 0x8D: return 0x9D;  // Ќ
    case 0x8E: return 0x9E;  // Ћ
    case 0x8F: return 0x9F;  // Џ
    case 0xA1: return 0xA2;  // Ў
    case 0xA3: return 0xBC;  // Ј
    case 0xA5: return 0xB4;  // Ґ
    case 0xAA: return 0xBA;  // Є
    case 0xAF: return 0xBF;  // Ї
    case 0xB2: return 0xB3;  // І
    case 0xBD: return 0xBE;  // Ѕ
    default: return c;
  }
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
  const TCodeTable& t = Table();
  std::string out;
  out.reserve(text.size() * 2);
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80)
      out.push_back(ch);
    else
      out += t.ToUtf8[b - 0x80];
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const int b = ByteOf(NextCodePoint(text, i));
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

std::string FirstCharNotInCp1251(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t from = i;
    if (ByteOf(NextCodePoint(text, i)) < 0) return std::string(text.substr(from, i - from));
  }
  return {};
}

namespace {

// A reference "&#N;" at text[i] in the form Utf8ToCp1251Refs writes: N in
// decimal without leading zeros. Its number and length, or false.
bool ReferenceAt(std::string_view text, size_t i, uint32_t& cp, size_t& length) {
  if (text.compare(i, 2, "&#") != 0) return false;
  size_t j = i + 2;
  if (j >= text.size() || text[j] < '1' || text[j] > '9') return false;
  uint32_t v = 0;
  while (j < text.size() && j - i - 2 < 7 && text[j] >= '0' && text[j] <= '9') v = v * 10 + (text[j++] - '0');
  if (j >= text.size() || text[j] != ';') return false;
  cp = v;
  length = j + 1 - i;
  return true;
}

// Whether Utf8ToCp1251Refs writes the reference `cp` of `length` at text[i]:
// "&#38;" for an "&" before a "#", or a character the code page cannot carry.
bool WrittenReference(std::string_view text, size_t i, uint32_t cp, size_t length) {
  if (cp == '&') return i + length < text.size() && text[i + length] == '#';
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  return ByteOf(cp) < 0;
}

}  // namespace

std::string Utf8ToCp1251Refs(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const uint32_t cp = NextCodePoint(text, i);
    const int b = ByteOf(cp);
    if (cp == '&' && i < text.size() && text[i] == '#')
      out += "&#38;";
    else if (b >= 0)
      out.push_back(static_cast<char>(b));
    else if (cp == UINT32_MAX)
      out.push_back('?');
    else
      out += "&#" + std::to_string(cp) + ";";
  }
  return out;
}

std::string Cp1251RefsToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t plain = 0;  // start of the text not yet converted
  for (size_t i = text.find("&#"); i != std::string_view::npos; i = text.find("&#", i + 1)) {
    uint32_t cp = 0;
    size_t length = 0;
    if (!ReferenceAt(text, i, cp, length) || !WrittenReference(text, i, cp, length)) continue;
    out += Cp1251ToUtf8(text.substr(plain, i - plain));
    AppendUtf8(out, cp);
    plain = i + length;
    i = plain - 1;
  }
  out += Cp1251ToUtf8(text.substr(plain));
  return out;
}

std::string LowerCp1251(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  return out;
}

namespace {

uint32_t LowerCodePoint(uint32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 32;    // А..Я
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;  // Ѐ..Џ
  if (cp == 0x490) return 0x491;                     // Ґ
  return cp;
}

}  // namespace

std::string FoldCaseUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t from = i;
    const uint32_t cp = NextCodePoint(text, i);
    if (cp == UINT32_MAX) {
      out.push_back(text[from]);
      continue;
    }
    AppendUtf8(out, LowerCodePoint(cp));
  }
  return out;
}

bool SameTextCI(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const size_t i0 = i, j0 = j;
    const uint32_t x = NextCodePoint(a, i), y = NextCodePoint(b, j);
    if (x == UINT32_MAX || y == UINT32_MAX) {
      if (a[i0] != b[j0]) return false;
      continue;
    }
    if (LowerCodePoint(x) != LowerCodePoint(y)) return false;
  }
  return i == a.size() && j == b.size();
}
