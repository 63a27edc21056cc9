#pragma once
// What the file window shows of a file before it is opened: the head of a
// data file (author, time of the last save, format version and comments) and
// the names in a resource set. Both read only what they need and read it
// leniently: a tag that is not where it should be leaves its value empty.
#include <cstdint>
#include <string>
#include <vector>

#include "files/uDataFile.h"

// Comment lines longer than this are cut in the preview.
inline constexpr size_t PreviewCommentMax = 255;

// Reads the head of a data file into `head` (its Author, Created,
// FileDataVersion and Comment; each comment at most PreviewCommentMax
// characters): an "[Author]" block on the first line, the "[FileDataVersion]"
// line after it, then the comment lines. False when the file cannot be opened
// or read.
bool ReadDataFileHead(const std::string& fileName, TDataFileDocument& head);

// The lines the preview page shows: the comments, then the information line
// with the author, the time and the version.
std::vector<std::string> DataFileHeadLines(const TDataFileDocument& head);

struct TResourceSetNames {
  int32_t ResourceCount = 0;           // the count the file announces (0 when absent or not a number)
  int32_t PlantCount = 0;
  std::vector<std::string> Resources;  // names of the records whose tag was where it should be, in file order
  std::vector<std::string> Plants;
};

// Reads the resource and species names of a resource set of version "0.5.2".
// A set of any other version gives no names and counts of 0. False when the
// file cannot be opened or read.
bool ReadResourceSetNames(const std::string& fileName, TResourceSetNames& names);
