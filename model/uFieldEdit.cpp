#include "model/uFieldEdit.h"

#include <algorithm>
#include <limits>

int32_t ReadFillAmount(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) return 0;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) return 0;
  return static_cast<int32_t>(value);
}

void FillField(TResourceObject& resource, const std::vector<int32_t>& amounts) {
  const int32_t count = std::min<int32_t>(resource.Count, static_cast<int32_t>(amounts.size()));
  for (int32_t r = 0; r < count; ++r)
    if (amounts[r] > 0) resource.AddAmountEverywhere(r, amounts[r]);
}

void ClearField(TResourceObject& resource, TPlantObject& plant, const std::vector<bool>& resources,
                const std::vector<bool>& species) {
  const int32_t resourceCount = std::min<int32_t>(resource.Count, static_cast<int32_t>(resources.size()));
  for (int32_t r = 0; r < resourceCount; ++r)
    if (resources[r]) resource.Clear(r);
  const int32_t speciesCount = std::min<int32_t>(plant.Count, static_cast<int32_t>(species.size()));
  for (int32_t s = 0; s < speciesCount; ++s)
    if (species[s]) plant.Clear(s);
}

void DeleteResource(TResourceObject& resource, TPlantObject& plant, int32_t index) {
  // The renumbering is all that allocates, and it changes nothing when it
  // fails: it comes first, while the resource is still there. The delete
  // itself only moves what is already allocated.
  plant.ResourceDeleted(index);
  resource.Delete(index);
}
