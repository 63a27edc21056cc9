#pragma once
#include <cstdint>

// A toolkit colour value: 24-bit RGB with red in the low byte, or a system
// colour identifier with the high bit set (negative as a signed number).
using TColor = int32_t;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int ColorRed(TColor c) { return c & 0xFF; }
constexpr int ColorGreen(TColor c) { return (c >> 8) & 0xFF; }
constexpr int ColorBlue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clFieldDefault = 0xF0FBFF;  // the default colour of an empty cell
