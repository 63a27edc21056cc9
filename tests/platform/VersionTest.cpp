#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/VersionInfo.h"

namespace fs = std::filesystem;

TEST(VersionBlock, ProgramBlockCarriesItsVersions) {
  const TVersionBlock& b = ProgramVersionBlock();
  // The version the program shows, as the project states it.
  EXPECT_EQ(b.Value("FileVersion"), "0.7.0.68");
  EXPECT_EQ(b.Value("ProductVersion"), "0.6.3");
  EXPECT_EQ(b.Value("ProductName"), "ZeltorOmra");
  EXPECT_EQ(b.FileType, VersionFileTypeApplication);
  EXPECT_EQ(b.FileFlags, 0u);
  // The settings fix-ups compare the file version with "0.6.3" as a string.
  EXPECT_GE(b.Value("FileVersion"), std::string("0.6.3"));
}

TEST(VersionBlock, FoundInTheRunningExecutable) {
  TVersionBlock b;
  ASSERT_TRUE(ReadVersionBlock("/proc/self/exe", b));
  EXPECT_EQ(b.Value("FileVersion"), ZO_VERSION);
  EXPECT_EQ(b.Value("CompanyName"), ProgramVersionBlock().Value("CompanyName"));
  EXPECT_TRUE(IsExecutableFile("/proc/self/exe"));
}

TEST(VersionBlock, EncodedBlockIsFoundInsideOtherBytesAndBrokenOnesAreSkipped) {
  const fs::path dir = fs::temp_directory_path() / "zo_version_test";
  fs::create_directories(dir);
  TVersionBlock b;
  b.FileFlags = VersionFlagDebug | VersionFlagPatched;
  b.FileFlagsMask = 0x3F;
  b.FileType = 3;
  b.FileSubtype = 7;
  b.Strings["FileVersion"] = "1.2.3.4";
  b.Strings["Comments"] = "Проверка";
  const std::string encoded = EncodeVersionBlock(b);
  // A truncated copy first (its length runs past the end of its room), then the real one.
  std::string truncated = encoded.substr(0, 16) + std::string("\xFF\xFF\x00\x00", 4) + "junk";
  const std::string content = std::string(1000, 'x') + truncated + std::string(50, '\0') + encoded +
                              std::string(30, 'y');
  const fs::path file = dir / "data.bin";
  std::ofstream(file, std::ios::binary) << content;
  TVersionBlock read;
  ASSERT_TRUE(ReadVersionBlock(file.string(), read));
  EXPECT_EQ(read.FileFlags, b.FileFlags);
  EXPECT_EQ(read.FileType, 3u);
  EXPECT_EQ(read.FileSubtype, 7u);
  EXPECT_EQ(read.Value("FileVersion"), "1.2.3.4");
  EXPECT_EQ(read.Value("Comments"), "Проверка");
  EXPECT_FALSE(IsExecutableFile(file.string()));

  // A file with no block, an empty file and a missing file.
  std::ofstream(dir / "plain.txt") << "no block here";
  EXPECT_FALSE(ReadVersionBlock((dir / "plain.txt").string(), read));
  EXPECT_TRUE(read.Strings.empty());
  std::ofstream(dir / "empty").close();
  EXPECT_FALSE(ReadVersionBlock((dir / "empty").string(), read));
  EXPECT_FALSE(ReadVersionBlock((dir / "absent").string(), read));
  fs::remove_all(dir);
}
