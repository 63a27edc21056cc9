#include "files/uFilePreview.h"

#include "files/uResourceSet.h"
#include "files/uTextFile.h"
#include "platform/Cp1251.h"

namespace {

// Reads `count` records of one kind: a record whose tag line matches gives
// its name and skips `rest` lines; a line that is not the tag is dropped and
// the next number is tried against the next line. Stops at the end of the
// file, so a count larger than the file costs nothing.
void ReadNames(TTextReader& in, const char* kind, int32_t count, int rest, std::vector<std::string>& out) {
  for (int32_t k = 0; k < count && !in.Eof(); ++k) {
    if (in.ReadRaw() != RecordTag(kind, k)) continue;
    out.push_back(in.ReadString());
    for (int i = 0; i < rest; ++i) in.ReadRaw();
  }
}

}  // namespace

bool ReadDataFileHead(const std::string& fileName, TDataFileDocument& head) {
  head = TDataFileDocument();
  TTextReader in;
  if (!in.Open(fileName)) return false;
  if (in.ReadRaw() == "[Author]") {
    head.Author = in.ReadString();
    head.Created = in.ReadString();
  }
  if (in.ReadRaw() == "[FileDataVersion]") head.FileDataVersion = in.ReadString();
  for (std::string_view line = in.ReadRaw(); line.substr(0, 8) == "Comment="; line = in.ReadRaw())
    head.Comment.push_back(Cp1251ToUtf8(line.substr(8, PreviewCommentMax)));
  const bool ok = !in.LineTooLong();
  in.Close();
  return ok;
}

std::vector<std::string> DataFileHeadLines(const TDataFileDocument& head) {
  std::vector<std::string> lines = head.Comment;
  lines.push_back(CommentInfoLine(head));
  return lines;
}

bool ReadResourceSetNames(const std::string& fileName, TResourceSetNames& names) {
  names = TResourceSetNames();
  TTextReader in;
  if (!in.Open(fileName)) return false;
  std::string_view line = in.ReadRaw();
  if (line == "[FileDataVersion]") line = in.ReadRaw();
  if (line == DataFileVersion) {
    if (in.ReadRaw() == "[ResourceCount]") names.ResourceCount = CountLineOrZero(in);
    ReadNames(in, "Resource", names.ResourceCount, 3, names.Resources);
    if (in.ReadRaw() == "[PlantCount]") names.PlantCount = CountLineOrZero(in);
    ReadNames(in, "Plant", names.PlantCount, 10, names.Plants);
  }
  const bool ok = !in.LineTooLong();
  in.Close();
  return ok;
}
