#pragma once
// Integer maximum and minimum shared by the kit's layout code.
#include <cstdint>

inline int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
inline int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
