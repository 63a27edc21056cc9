#include "files/uFilePreview.h"

#include "files/uResourceSet.h"
#include "files/uTextFile.h"
#include "platform/Cp1251.h"

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

bool ReadResourceSetPreview(const std::string& fileName, TResourceSet& set, int* error) {
  const bool ok = ReadResourceSet(fileName, set, error);
  if (set.Version != DataFileVersion) set = TResourceSet();
  return ok;
}
