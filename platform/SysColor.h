#pragma once
// The desktop's system colours. A colour value with the high byte $FF names
// one of them by the index in its low byte instead of giving RGB; such values
// are kept as they are in the model, the data files and the settings, and are
// turned into RGB only when something is painted, through the one table here.
// The table is fixed, so the program paints the same on every desktop.
#include <cstdint>

enum class TSysColor : int {
  ScrollBar = 0,
  Background = 1,
  ActiveCaption = 2,
  InactiveCaption = 3,
  Menu = 4,
  Window = 5,
  WindowFrame = 6,
  MenuText = 7,
  WindowText = 8,
  CaptionText = 9,
  ActiveBorder = 10,
  InactiveBorder = 11,
  AppWorkSpace = 12,
  Highlight = 13,
  HighlightText = 14,
  BtnFace = 15,
  BtnShadow = 16,
  GrayText = 17,
  BtnText = 18,
  InactiveCaptionText = 19,
  BtnHighlight = 20,
  DkShadow3D = 21,
  Light3D = 22,
  InfoText = 23,
  InfoBk = 24,
  HotLight = 26,
  GradientActiveCaption = 27,
  GradientInactiveCaption = 28,
  MenuHighlight = 29,
  MenuBar = 30,
};

// The high byte that marks a system colour.
constexpr uint32_t SysColorFlag = 0xFF000000u;
// The colour value that names a system colour (negative as a signed number).
constexpr int32_t SysColorValue(TSysColor c) {
  return static_cast<int32_t>(SysColorFlag | static_cast<uint32_t>(c));
}
// True for a colour value with the high bit set (a system colour identifier).
constexpr bool IsSysColorValue(int32_t color) { return color < 0; }

// The RGB ($BBGGRR, red in the low byte) of a system colour; black for an
// index the table does not hold.
int32_t GetSysColor(int index);
inline int32_t GetSysColor(TSysColor c) { return GetSysColor(static_cast<int>(c)); }

// The RGB ($BBGGRR) to paint a colour value with: a system colour through the
// table, any other value without its high byte.
int32_t ColorToRGB(int32_t color);
