#pragma once
// The program's version block: a marked record of version strings and fixed
// values compiled into the executable, and a reader that finds it in any file.
//
// Layout in the file: the 16-byte mark "ZO-VERSION-BLOCK", a 4-byte little-endian
// length of what follows, then the fixed values (five little-endian 32-bit
// numbers: file flags, file-flags mask, file type, file subtype, reserved) and the
// strings as "Name\0Value\0" pairs, ending with an empty name.
#include <cstdint>
#include <map>
#include <string>

// Fixed file flags, as the version block's flag word holds them.
constexpr uint32_t VersionFlagDebug = 0x01;
constexpr uint32_t VersionFlagPreRelease = 0x02;
constexpr uint32_t VersionFlagPatched = 0x04;
constexpr uint32_t VersionFlagPrivateBuild = 0x08;
constexpr uint32_t VersionFlagInfoInferred = 0x10;
constexpr uint32_t VersionFlagSpecialBuild = 0x20;

// File types of the fixed part.
constexpr uint32_t VersionFileTypeUnknown = 0;
constexpr uint32_t VersionFileTypeApplication = 1;

struct TVersionBlock {
  uint32_t FileFlags = 0;
  uint32_t FileFlagsMask = 0;
  uint32_t FileType = 0;
  uint32_t FileSubtype = 0;
  std::map<std::string, std::string> Strings;  // "FileVersion" -> the program's version, ...

  // The value of a version string, empty when absent.
  std::string Value(const std::string& name) const;
};

// The version block of the running program (decoded from the bytes compiled in).
const TVersionBlock& ProgramVersionBlock();

// The raw bytes of the program's block as they lie in the executable.
const unsigned char* ProgramVersionBlockBytes(std::size_t* size = nullptr);

// Encodes a block into the layout above (used to build test files).
std::string EncodeVersionBlock(const TVersionBlock& block);

// Decodes one block starting at its mark; false when the bytes are not a
// complete, well-formed block.
bool DecodeVersionBlock(const char* data, std::size_t size, TVersionBlock& block);

// Searches the file at `path` for a version block. Returns false when the file
// cannot be read or holds no well-formed block; never throws.
bool ReadVersionBlock(const std::string& path, TVersionBlock& block);

// True when the file starts like an executable program (an ELF header, or the
// executable header of the other desktop systems' programs).
bool IsExecutableFile(const std::string& path);
