#include "files/uNames.h"

#include "platform/Cp1251.h"

std::string TUniqueNames::Add(const std::string& name, const std::string& fallback) {
  const std::string& base = name.empty() ? fallback : name;
  std::string folded = FoldCaseUtf8(base);
  if (Folded.insert(folded).second) return base;
  int& next = NextNumber[folded];
  if (next < 2) next = 2;
  for (;; ++next) {
    const std::string candidate = base + " (" + std::to_string(next) + ")";
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
