// The file window's previews: the head of a data file and the names in a
// resource set, read leniently from files the writers made and from broken ones.
#include "FileTestUtil.h"
#include "files/uFilePreview.h"
#include "files/uResourceSet.h"
#include "platform/Cp1251.h"

TEST(FilePreview, DataFileHeadGivesCommentsThenTheInformationLine) {
  TTempDir dir;
  TModel m;
  m.Doc.Comment = {"Первая строка", "second line", "(the information line, never written)"};
  const std::string f = dir.File("with.zod");
  TFakeHost host;
  ASSERT_TRUE(SaveDataFile(f, m.Res, m.Plant, m.Doc, host));

  TDataFileDocument head;
  ASSERT_TRUE(ReadDataFileHead(f, head));
  EXPECT_EQ(head.Author, "Иван");
  EXPECT_EQ(head.Created, m.Doc.Created);
  EXPECT_EQ(head.FileDataVersion, "0.5.2");
  const std::vector<std::string> lines = DataFileHeadLines(head);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Первая строка");
  EXPECT_EQ(lines[1], "second line");
  EXPECT_EQ(lines[2], "Автор файла: <b>Иван</b>. Время создания: " + m.Doc.Created + ". Версия формата данных: 0.5.2.");

  // Without the author block and the version tag the page still has its one line.
  const std::string bare = dir.File("bare.zod");
  WriteAll(bare, "[Step]\r\n5\r\n[RowCount]\r\n5\r\n");
  ASSERT_TRUE(ReadDataFileHead(bare, head));
  EXPECT_EQ(DataFileHeadLines(head),
            std::vector<std::string>{"Автор файла: <b></b>. Время создания: . Версия формата данных: ."});

  // A long comment is cut to 255 characters (Cyrillic letters are one byte in the file).
  std::string longComment;
  for (int i = 0; i < 300; ++i) longComment += "ж";
  const std::string cut = dir.File("long.zod");
  WriteAll(cut, "[Author]\r\nA\r\nT\r\n[FileDataVersion]\r\n0.5.1\r\nComment=" + Utf8ToCp1251(longComment) + "\r\n");
  ASSERT_TRUE(ReadDataFileHead(cut, head));
  ASSERT_EQ(head.Comment.size(), 1u);
  EXPECT_EQ(head.Comment[0], longComment.substr(0, 255 * 2));  // two UTF-8 bytes per letter
  EXPECT_EQ(head.FileDataVersion, "0.5.1");

  EXPECT_FALSE(ReadDataFileHead(dir.File("missing.zod"), head));
  EXPECT_FALSE(ReadDataFileHead(dir.Path.string(), head));  // a folder
}

namespace {

// The names the check list shows for a set.
std::vector<std::string> ResourceNames(const TResourceSet& set) {
  std::vector<std::string> out;
  for (const auto& r : set.Resources) out.push_back(r.Name);
  return out;
}
std::vector<std::string> PlantNames(const TResourceSet& set) {
  std::vector<std::string> out;
  for (const auto& r : set.Plants) out.push_back(r.Species.Const.Name);
  return out;
}

}  // namespace

TEST(FilePreview, ResourceSetNamesFollowTheFile) {
  TTempDir dir;
  TModel m;  // two resources, three species
  const std::string f = dir.File("all.zor");
  ASSERT_TRUE(ExportResourceSet(f, m.Res, m.Plant, {{true, true}, {true, true, true}}));
  TResourceSet names;
  ASSERT_TRUE(ReadResourceSetPreview(f, names));
  EXPECT_EQ(names.ResourceCount, 2);
  EXPECT_EQ(names.PlantCount, 3);
  EXPECT_EQ(ResourceNames(names), (std::vector<std::string>{"Ресурс Жёлтый", "Water"}));
  EXPECT_EQ(PlantNames(names), (std::vector<std::string>{"Организм А", "Beta", "Гамма"}));

  // Species only.
  ASSERT_TRUE(ExportResourceSet(f, m.Res, m.Plant, {{}, {false, true}}));
  ASSERT_TRUE(ReadResourceSetPreview(f, names));
  EXPECT_EQ(names.ResourceCount, 0);
  EXPECT_TRUE(names.Resources.empty());
  EXPECT_EQ(PlantNames(names), std::vector<std::string>{"Beta"});

  // Another version gives nothing; a missing file cannot be read.
  WriteAll(f, "[FileDataVersion]\r\n0.5.1\r\n[ResourceCount]\r\n1\r\n[Resource0]\r\nA\r\n1\r\n2\r\n3\r\n");
  ASSERT_TRUE(ReadResourceSetPreview(f, names));
  EXPECT_TRUE(names.Resources.empty());
  EXPECT_EQ(names.ResourceCount, 0);
  EXPECT_FALSE(ReadResourceSetPreview(dir.File("none.zor"), names));

  // A wrong tag costs its record; a count that is not a number counts as 0;
  // a count far beyond the file ends with the file.
  WriteAll(f,
           "[FileDataVersion]\r\n0.5.2\r\n[ResourceCount]\r\n2000000000\r\n[Resource0]\r\nA\r\n1\r\n2\r\n3\r\n"
           "[Resource7]\r\nB\r\n1\r\n2\r\n3\r\n");
  ASSERT_TRUE(ReadResourceSetPreview(f, names));
  EXPECT_EQ(ResourceNames(names), std::vector<std::string>{"A"});
  WriteAll(f, "[FileDataVersion]\r\n0.5.2\r\n[ResourceCount]\r\nmany\r\n[PlantCount]\r\n1\r\n[Plant0]\r\nP\r\n"
              "A\r\nA\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
  ASSERT_TRUE(ReadResourceSetPreview(f, names));
  EXPECT_EQ(names.ResourceCount, 0);
  EXPECT_EQ(PlantNames(names), std::vector<std::string>{"P"});
}
