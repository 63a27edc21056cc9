#pragma once
// Edits of the whole field at once: the fill adds an amount of chosen
// resources to every cell, the clear empties chosen resource layers and
// removes chosen species' organisms; and the delete of a resource, which
// changes both stores.
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/uPlant.h"
#include "model/uResource.h"

// The amount typed for a resource: a decimal integer, with blanks around it
// and a leading "+" or "-" allowed. Anything else, a number beyond the 32-bit
// range included, reads as 0.
int32_t ReadFillAmount(std::string_view text);

// Adds amounts[r] to every cell of resource r, for each r whose amount is above
// 0; a cell stops at the 32-bit limit and the totals count what was really
// added. Entries beyond the store's resources are ignored.
void FillField(TResourceObject& resource, const std::vector<int32_t>& amounts);

// Empties the layer of every resource r with resources[r] set, and removes the
// organisms of every species s with species[s] set (their counters, maxima,
// averages and distributions become 0). Other layers and species stay as they
// are; entries beyond the stores' counts are ignored.
void ClearField(TResourceObject& resource, TPlantObject& plant, const std::vector<bool>& resources,
                const std::vector<bool>& species);

// Deletes resource `index` with its layer; the food and waste indexes of
// species and organisms that name later resources move down one
// (TPlantObject::ResourceDeleted). When memory runs out (std::bad_alloc) both
// stores stay as they were.
void DeleteResource(TResourceObject& resource, TPlantObject& plant, int32_t index);
