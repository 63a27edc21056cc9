#pragma once
// JPEG pictures through libjpeg: writing an RGB buffer at a chosen quality and
// reading a file (or bytes in memory) back into an RGB buffer. A broken or
// truncated picture is refused with a message; libjpeg is never allowed to end
// the program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A picture as 8-bit RGB triples, row by row from the top, no padding.
struct TJpegImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;  // Width * Height * 3 bytes

  bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Quality is clamped to 10..100.
constexpr int JpegMinQuality = 10;
constexpr int JpegMaxQuality = 100;

// Compresses `rgb` (width * height * 3 bytes) into JPEG bytes. Returns false
// and sets `error` (when given) on failure; `out` is then left empty.
bool JpegEncode(const uint8_t* rgb, int width, int height, int quality, std::vector<uint8_t>& out,
                std::string* error = nullptr);

// Writes the picture to `path`, whole or not at all: the bytes are compressed
// first and then written through a temporary file that replaces the old one
// only once it is complete. On failure `errorNumber` (when given) gets the
// system's error number of the failed file step (as TSafeFileWriter::Error
// gives it), or 0 when the picture itself could not be compressed.
bool JpegWriteFile(const std::string& path, const uint8_t* rgb, int width, int height, int quality,
                   std::string* error = nullptr, int* errorNumber = nullptr);
bool JpegWriteFile(const std::string& path, const TJpegImage& image, int quality,
                   std::string* error = nullptr, int* errorNumber = nullptr);

// Decompresses JPEG bytes into `image` (RGB; greyscale pictures are expanded).
// Returns false and sets `error` on a broken picture, or on one whose header
// promises far more pixels than its bytes can hold; `image` is then empty.
bool JpegDecode(const uint8_t* data, size_t size, TJpegImage& image, std::string* error = nullptr);

// Reads the picture file at `path`.
bool JpegReadFile(const std::string& path, TJpegImage& image, std::string* error = nullptr);
