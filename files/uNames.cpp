#include "files/uNames.h"

#include "platform/Cp1251.h"

namespace {

// `base` followed by " (number)", the whole within MaxNameLength as the files
// write it (a byte of code page 1251 per character): a longer base is cut to
// the characters that leave room for the number (and is then as the files
// carry it, which the names that reach this length already are).
std::string Numbered(const std::string& base, int number) {
  const std::string suffix = " (" + std::to_string(number) + ")";
  // A character takes at least one byte of UTF-8 and exactly one of the code page.
  if (base.size() + suffix.size() <= MaxNameLength) return base + suffix;
  const std::string bytes = LineBytes(base);
  if (bytes.size() + suffix.size() <= MaxNameLength) return base + suffix;
  return Cp1251ToUtf8(std::string_view(bytes).substr(0, MaxNameLength - suffix.size())) + suffix;
}

}  // namespace

std::string TUniqueNames::Add(const std::string& name, const std::string& fallback) {
  const std::string& base = name.empty() ? fallback : name;
  std::string folded = FoldCaseUtf8(base);
  if (Folded.insert(folded).second) return base;
  int& next = NextNumber[folded];
  if (next < 2) next = 2;
  for (;; ++next) {
    const std::string candidate = Numbered(base, next);
    if (Folded.insert(FoldCaseUtf8(candidate)).second) {
      ++next;
      return candidate;
    }
  }
}

std::string NameFilesCanCarry(const std::string& name) {
  std::string bytes = LineBytes(name);
  if (bytes.size() > MaxNameLength) bytes.resize(MaxNameLength);
  return Cp1251ToUtf8(bytes);
}

std::string DefaultResourceName(int index) { return "Ресурс " + std::to_string(index); }
std::string DefaultPlantName(int index) { return "Организм " + std::to_string(index); }
