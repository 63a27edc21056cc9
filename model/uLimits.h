#pragma once
// How large a model may grow.
#include <cstdint>

// The most resources, and the most species, a model holds. Every way an item
// comes in keeps to it, so that a model the program saved comes back whole:
// the data-file reader refuses a file with more, the resource-set import stops
// adding there, the settings keep that many and the parameter editor refuses
// to add more. Each resource costs a layer of the whole field and each species
// rows of statistics and chart series, so the number stays where a model still
// starts, paints and ticks in reasonable time.
inline constexpr int32_t MaxItemCount = 1000;
