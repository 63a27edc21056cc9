#pragma once
// What the file window shows of a file before it is opened: the head of a
// data file (author, time of the last save, format version and comments),
// read leniently: a tag that is not where it should be leaves its value empty;
// and the records of a resource set.
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

struct TResourceSet;
// Reads a resource set for the file window's check list, as the import reads
// it (ReadResourceSet), but gives no records and counts of 0 unless its
// version is "0.5.2". False when the file cannot be opened or read, with
// `error` (when given) as ReadResourceSet gives it.
bool ReadResourceSetPreview(const std::string& fileName, TResourceSet& set, int* error = nullptr);
