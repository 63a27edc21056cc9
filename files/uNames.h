#pragma once
// Names of resources and species as a reader takes them from a file: the
// settings file keys every item's values by its name, so within one list the
// names must differ without regard to letter case, and none may be empty.
#include <string>
#include <unordered_map>
#include <unordered_set>

class TUniqueNames {
 public:
  // The name the next item of the list gets: an empty name becomes `fallback`,
  // and a name the list already has (in any letter case) gets " (2)", " (3)",
  // ... appended, the first number that makes it unique.
  std::string Add(const std::string& name, const std::string& fallback);

 private:
  std::unordered_set<std::string> Folded;  // the names given so far, case folded
  std::unordered_map<std::string, int> NextNumber;
};

// The generated names of an item without a name: "Ресурс <index>" and
// "Организм <index>" (also the settings file's default names).
std::string DefaultResourceName(int index);
std::string DefaultPlantName(int index);
