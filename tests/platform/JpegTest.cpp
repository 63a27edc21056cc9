#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Jpeg.h"
#include "tests/FileSizeLimit.h"

namespace fs = std::filesystem;

namespace {

// A picture with flat areas large enough to survive compression nearly intact.
TJpegImage MakePicture(int width, int height) {
  TJpegImage img;
  img.Width = width;
  img.Height = height;
  img.Pixels.resize(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &img.Pixels[(static_cast<size_t>(y) * width + x) * 3];
      const bool left = x < width / 2, top = y < height / 2;
      p[0] = left ? 230 : 20;
      p[1] = top ? 200 : 40;
      p[2] = (left == top) ? 30 : 220;
    }
  return img;
}

int MaxDifference(const TJpegImage& a, const TJpegImage& b, int inset) {
  int worst = 0;
  for (int y = inset; y < a.Height - inset; ++y)
    for (int x = inset; x < a.Width - inset; ++x) {
      // Skip the band around the colour edges where compression rings.
      if (std::abs(x - a.Width / 2) < inset || std::abs(y - a.Height / 2) < inset) continue;
      for (int c = 0; c < 3; ++c) {
        const size_t i = (static_cast<size_t>(y) * a.Width + x) * 3 + c;
        worst = std::max(worst, std::abs(int(a.Pixels[i]) - int(b.Pixels[i])));
      }
    }
  return worst;
}

class JpegFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("zo_jpeg_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

}  // namespace

TEST_F(JpegFiles, RoundTripKeepsSizeAndColours) {
  const TJpegImage src = MakePicture(64, 48);
  const std::string path = (dir / "pic.jpg").string();
  std::string error;
  ASSERT_TRUE(JpegWriteFile(path, src, 90, &error)) << error;
  TJpegImage back;
  ASSERT_TRUE(JpegReadFile(path, back, &error)) << error;
  EXPECT_EQ(back.Width, 64);
  EXPECT_EQ(back.Height, 48);
  ASSERT_EQ(back.Pixels.size(), src.Pixels.size());
  EXPECT_LE(MaxDifference(src, back, 8), 12);
}

TEST_F(JpegFiles, QualityIsClampedAndLowerQualityIsSmaller) {
  TJpegImage src = MakePicture(96, 96);
  for (size_t i = 0; i < src.Pixels.size(); ++i) src.Pixels[i] ^= static_cast<uint8_t>((i * 37) & 0x3F);
  std::vector<uint8_t> low, tooLow, high, tooHigh;
  ASSERT_TRUE(JpegEncode(src.Pixels.data(), 96, 96, 10, low));
  ASSERT_TRUE(JpegEncode(src.Pixels.data(), 96, 96, -5, tooLow));
  ASSERT_TRUE(JpegEncode(src.Pixels.data(), 96, 96, 100, high));
  ASSERT_TRUE(JpegEncode(src.Pixels.data(), 96, 96, 1000, tooHigh));
  EXPECT_EQ(low, tooLow);
  EXPECT_EQ(high, tooHigh);
  EXPECT_LT(low.size(), high.size());
}

TEST_F(JpegFiles, BrokenAndTruncatedFilesAreRefusedWithAMessage) {
  const TJpegImage src = MakePicture(40, 30);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(JpegEncode(src.Pixels.data(), 40, 30, 75, bytes));

  TJpegImage img;
  std::string error;
  // Cut in the middle of the compressed data.
  EXPECT_FALSE(JpegDecode(bytes.data(), bytes.size() / 2, img, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(img.Empty());

  // Not a picture at all.
  const std::string text = "This is plain text, not a picture.";
  error.clear();
  EXPECT_FALSE(JpegDecode(reinterpret_cast<const uint8_t*>(text.data()), text.size(), img, &error));
  EXPECT_FALSE(error.empty());

  // A header whose frame marker is damaged.
  std::vector<uint8_t> damaged = bytes;
  for (size_t i = 2; i + 1 < damaged.size(); ++i)
    if (damaged[i] == 0xFF && damaged[i + 1] == 0xC0) {
      damaged[i + 1] = 0xCF;  // an unsupported frame type
      break;
    }
  EXPECT_FALSE(JpegDecode(damaged.data(), damaged.size(), img, &error));

  // Empty and missing files.
  const std::string empty = (dir / "empty.jpg").string();
  std::ofstream(empty).close();
  EXPECT_FALSE(JpegReadFile(empty, img, &error));
  EXPECT_FALSE(JpegReadFile((dir / "absent.jpg").string(), img, &error));

  // The library is still usable afterwards.
  EXPECT_TRUE(JpegDecode(bytes.data(), bytes.size(), img, &error)) << error;
  EXPECT_EQ(img.Width, 40);
}

TEST_F(JpegFiles, NothingIsWrittenForAnEmptyPictureOrAnUnwritablePath) {
  std::string error;
  const std::string path = (dir / "none.jpg").string();
  EXPECT_FALSE(JpegWriteFile(path, TJpegImage(), 80, &error));
  EXPECT_FALSE(fs::exists(path));
  const TJpegImage src = MakePicture(8, 8);
  EXPECT_FALSE(JpegWriteFile((dir / "no_such_folder" / "x.jpg").string(), src, 80, &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(JpegFiles, AFailedWriteKeepsTheOldPicture) {
  const std::string path = (dir / "pic.jpg").string();
  std::string error;
  ASSERT_TRUE(JpegWriteFile(path, MakePicture(16, 16), 90, &error)) << error;
  std::ifstream first(path, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(first)), std::istreambuf_iterator<char>());
  // A file size limit below the new picture's size stands in for a full disk.
  TJpegImage big = MakePicture(300, 300);
  for (size_t i = 0; i < big.Pixels.size(); ++i) big.Pixels[i] = static_cast<uint8_t>(i * 7919 >> 3);
  const bool ok = WithFileSizeLimit(before.size() + 100, [&] { return JpegWriteFile(path, big, 100, &error); });
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  std::ifstream after(path, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), before);
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "no temporary file is left";
}

TEST_F(JpegFiles, AHeaderPromisingMorePixelsThanTheBytesHoldIsRefusedAtOnce) {
  std::vector<uint8_t> bytes;
  const TJpegImage src = MakePicture(16, 16);
  ASSERT_TRUE(JpegEncode(src.Pixels.data(), 16, 16, 75, bytes));
  ASSERT_LT(bytes.size(), 1000u);
  // The frame header holds the height and width after its length and precision.
  size_t sof = 0;
  for (size_t i = 2; i + 8 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_NE(sof, 0u);
  for (const auto& [w, h] : {std::pair{20000, 20000}, std::pair{30000, 2000}}) {
    std::vector<uint8_t> huge = bytes;
    huge[sof + 5] = static_cast<uint8_t>(h >> 8);
    huge[sof + 6] = static_cast<uint8_t>(h & 0xFF);
    huge[sof + 7] = static_cast<uint8_t>(w >> 8);
    huge[sof + 8] = static_cast<uint8_t>(w & 0xFF);
    TJpegImage img;
    std::string error;
    EXPECT_FALSE(JpegDecode(huge.data(), huge.size(), img, &error));
    EXPECT_NE(error.find("не соответствует длине файла"), std::string::npos) << error;
    EXPECT_TRUE(img.Empty());
  }
  // A real picture of a flat colour packs many pixels into few bytes and still loads.
  TJpegImage flat;
  flat.Width = 2000;
  flat.Height = 1500;
  flat.Pixels.assign(static_cast<size_t>(flat.Width) * flat.Height * 3, 128);
  ASSERT_TRUE(JpegEncode(flat.Pixels.data(), flat.Width, flat.Height, 10, bytes));
  TJpegImage back;
  std::string error;
  EXPECT_TRUE(JpegDecode(bytes.data(), bytes.size(), back, &error)) << error << " (" << bytes.size() << " bytes)";
}
