#include <gtest/gtest.h>

#include "platform/SysColor.h"

TEST(SysColor, IdentifiersResolveThroughTheTableAndRgbPassesThrough) {
  EXPECT_EQ(SysColorValue(TSysColor::BtnFace), static_cast<int32_t>(0xFF00000F));
  EXPECT_LT(SysColorValue(TSysColor::InfoBk), 0);  // negative in a data file
  EXPECT_EQ(ColorToRGB(SysColorValue(TSysColor::BtnFace)), 0xF0F0F0);
  EXPECT_EQ(ColorToRGB(SysColorValue(TSysColor::InfoBk)), 0xE1FFFF);
  EXPECT_EQ(ColorToRGB(SysColorValue(TSysColor::Window)), 0xFFFFFF);
  EXPECT_EQ(ColorToRGB(0x00F0FBFF), 0xF0FBFF);
  EXPECT_EQ(ColorToRGB(0x02123456), 0x123456);  // other flags are dropped
  // Indexes that name no colour paint black.
  EXPECT_EQ(GetSysColor(25), 0);
  EXPECT_EQ(GetSysColor(31), 0);
  EXPECT_EQ(GetSysColor(-1), 0);
  EXPECT_EQ(ColorToRGB(static_cast<int32_t>(0xFF0000FF)), 0);
}
