#include "platform/SysColor.h"

#include <array>

namespace {

// $BBGGRR, by index; -1 marks an index that names no colour.
constexpr std::array<int32_t, 31> kSysColors = {
    0xC8C8C8,  // ScrollBar
    0x000000,  // Background
    0xD1B499,  // ActiveCaption
    0xDBCDBF,  // InactiveCaption
    0xF0F0F0,  // Menu
    0xFFFFFF,  // Window
    0x646464,  // WindowFrame
    0x000000,  // MenuText
    0x000000,  // WindowText
    0x000000,  // CaptionText
    0xB4B4B4,  // ActiveBorder
    0xFCF7F4,  // InactiveBorder
    0xABABAB,  // AppWorkSpace
    0xD77800,  // Highlight
    0xFFFFFF,  // HighlightText
    0xF0F0F0,  // BtnFace
    0xA0A0A0,  // BtnShadow
    0x6D6D6D,  // GrayText
    0x000000,  // BtnText
    0x000000,  // InactiveCaptionText
    0xFFFFFF,  // BtnHighlight
    0x696969,  // DkShadow3D
    0xE3E3E3,  // Light3D
    0x000000,  // InfoText
    0xE1FFFF,  // InfoBk
    -1,        // (no colour)
    0xCC6600,  // HotLight
    0xEAD1B9,  // GradientActiveCaption
    0xF2E4D7,  // GradientInactiveCaption
    0xFF9933,  // MenuHighlight
    0xF0F0F0,  // MenuBar
};

}  // namespace

int32_t GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kSysColors.size()) || kSysColors[index] < 0) return 0;
  return kSysColors[index];
}

int32_t ColorToRGB(int32_t color) {
  if (IsSysColorValue(color)) return GetSysColor(static_cast<int>(static_cast<uint32_t>(color) & 0xFFu));
  return color & 0xFFFFFF;
}
