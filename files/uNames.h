#pragma once
// Names of resources and species as a reader takes them from a file: the
// settings file keys every item's values by its name, so within one list the
// names must differ without regard to letter case, and none may be empty.
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "files/uTextFile.h"

class TUniqueNames {
 public:
  // The name the next item of the list gets: an empty name becomes `fallback`,
  // and a name the list already has (in any letter case) gets " (2)", " (3)",
  // ... appended, the first number that makes it unique. A numbered name stays
  // within MaxNameLength: where the name and its number would pass it, the
  // name is cut (on a whole character) so that the number fits.
  std::string Add(const std::string& name, const std::string& fallback);

 private:
  std::unordered_set<std::string> Folded;  // the names given so far, case folded
  std::unordered_map<std::string, int> NextNumber;
};

// The longest name a data file or a resource set gives back: its line, line
// end included, must fit the reader's line limit.
constexpr size_t MaxNameLength = TextMaxLine - 2;

// A name as a data file and a resource set carry it: what their writer makes
// of it (a character code page 1251 cannot carry becomes "?", a line break a
// blank), at most MaxNameLength characters. A name that comes from elsewhere
// (the settings file) is brought to this, so that saving and reopening gives
// the same name back.
std::string NameFilesCanCarry(const std::string& name);

// The generated names of an item without a name: "Ресурс <index>" and
// "Организм <index>" (also the settings file's default names).
std::string DefaultResourceName(int index);
std::string DefaultPlantName(int index);
