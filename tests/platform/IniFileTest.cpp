// The settings file layer against hand-written files: case, hexadecimal
// numbers, missing keys, garbage values, CR LF, Cyrillic, long strings,
// keeping what it does not know, and whole-or-nothing writing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "tests/FileSizeLimit.h"
#include "Blocking.h"

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("zo_ini_" + std::to_string(getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Path = (Dir / "omra.ini").string();
  }
  void TearDown() override { fs::remove_all(Dir); }
  void Write(const std::string& bytes) {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Read() const {
    std::ifstream in(Path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path Dir;
  std::string Path;
};

}  // namespace

TEST_F(IniFileTest, SectionsAndKeysIgnoreCaseAndBlanks) {
  Write("[MainForm]\r\nTop=12\r\n  left = 34  \r\n[FIELD]\r\nFieldC=50\r\n");
  TIniFile ini(Path);
  EXPECT_EQ(ini.ReadInteger("mainform", "TOP", 0), 12);
  EXPECT_EQ(ini.ReadInteger("MainForm", "Left", 0), 34);
  EXPECT_EQ(ini.ReadInteger("Field", "fieldc", 0), 50);
  EXPECT_EQ(ini.ReadInteger("Field", "Top", 99), 99);  // the key of another section
  EXPECT_TRUE(ini.SectionExists("field"));
  EXPECT_FALSE(ini.SectionExists("View"));
  EXPECT_TRUE(ini.ValueExists("MAINFORM", "left"));
}

TEST_F(IniFileTest, IntegersDecimalAndHexadecimalOthersGiveTheDefault) {
  Write("[V]\nA=-17\nB=$FF\nC=0x10\nD=0XfF\nE=12abc\nF=\nG=$FFFFFFFF\nH=2147483648\nI= 5 \nJ=$\nK=0x123456789\n"
        "L=-2147483648\nM=+8\n");
  TIniFile ini(Path);  // LF-only lines are read as well
  EXPECT_EQ(ini.ReadInteger("V", "A", 0), -17);
  EXPECT_EQ(ini.ReadInteger("V", "B", 0), 255);
  EXPECT_EQ(ini.ReadInteger("V", "C", 0), 16);
  EXPECT_EQ(ini.ReadInteger("V", "D", 0), 255);
  EXPECT_EQ(ini.ReadInteger("V", "E", 7), 7);
  EXPECT_EQ(ini.ReadInteger("V", "F", 7), 7);
  EXPECT_EQ(ini.ReadInteger("V", "G", 0), -1);
  EXPECT_EQ(ini.ReadInteger("V", "H", 7), 7);
  EXPECT_EQ(ini.ReadInteger("V", "I", 0), 5);
  EXPECT_EQ(ini.ReadInteger("V", "J", 7), 7);
  EXPECT_EQ(ini.ReadInteger("V", "K", 7), 7);
  EXPECT_EQ(ini.ReadInteger("V", "L", 0), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("V", "M", 0), 8);
  EXPECT_EQ(ini.ReadInteger("V", "Missing", -1), -1);
  EXPECT_EQ(ini.ReadInteger("NoSection", "A", 3), 3);
}

TEST_F(IniFileTest, BooleansAreIntegers) {
  Write("[B]\r\nOn=1\r\nOff=0\r\nTwo=2\r\nNeg=-1\r\nWord=true\r\n");
  TIniFile ini(Path);
  EXPECT_TRUE(ini.ReadBool("B", "On", false));
  EXPECT_FALSE(ini.ReadBool("B", "Off", true));
  EXPECT_TRUE(ini.ReadBool("B", "Two", false));
  EXPECT_TRUE(ini.ReadBool("B", "Neg", false));
  EXPECT_FALSE(ini.ReadBool("B", "Word", false));  // not an integer: the default
  EXPECT_TRUE(ini.ReadBool("B", "Word", true));
  EXPECT_TRUE(ini.ReadBool("B", "Absent", true));
}

TEST_F(IniFileTest, CyrillicKeysAndValuesInCodePage1251) {
  Write(Utf8ToCp1251("[Resource]\r\nResource.Value0=Ресурс Жёлтый\r\nРЕСУРС ЖЁЛТЫЙ.Slur=70\r\n"));
  TIniFile ini(Path);
  EXPECT_EQ(ini.ReadString("Resource", "Resource.Value0", ""), "Ресурс Жёлтый");
  EXPECT_EQ(ini.ReadInteger("Resource", "ресурс жёлтый.Slur", 0), 70);
  ini.WriteString("Plant", "Plant.Value0", "Организм Лайм");
  ASSERT_TRUE(ini.UpdateFile());
  const std::string bytes = Read();
  EXPECT_NE(bytes.find(Utf8ToCp1251("Plant.Value0=Организм Лайм") + "\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("Организм"), std::string::npos);  // no UTF-8 in the file
  TIniFile again(Path);
  EXPECT_EQ(again.ReadString("plant", "plant.value0", ""), "Организм Лайм");
}

TEST_F(IniFileTest, LongStringsComeBackWhole) {
  const std::string longText(3000, 'a');
  Write("[S]\r\nLong=" + longText + "\r\n");
  TIniFile ini(Path);
  EXPECT_EQ(ini.ReadString("S", "Long", ""), longText);  // read back whole, as it was written
  EXPECT_EQ(ini.ReadString("S", "None", "default"), "default");
}

TEST_F(IniFileTest, WritingKeepsWhatItDoesNotKnow) {
  const std::string original =
      "; a comment\r\n[MainForm]\r\nTop=1\r\nUnknown=keep me\r\n\r\n[Other]\r\nx=y\r\nstray line\r\n";
  Write(original);
  {
    TIniFile ini(Path);
    ini.WriteInteger("mainform", "TOP", 5);
    ini.WriteBool("MainForm", "Snap", true);
    ini.WriteString("NewSection", "Key", "Value");
    EXPECT_EQ(ini.ReadInteger("MainForm", "Top", 0), 5);  // a read sees the object's own writes
    EXPECT_TRUE(fs::exists(Path));
  }  // the destructor writes
  EXPECT_EQ(Read(),
            "; a comment\r\n[MainForm]\r\nTOP=5\r\nUnknown=keep me\r\nSnap=1\r\n\r\n[Other]\r\nx=y\r\nstray line\r\n"
            "[NewSection]\r\nKey=Value\r\n");
}

TEST_F(IniFileTest, EveryKeyButTheEmptyOneReadsBack) {
  for (const char* key : {"Ресурс Yellow", "a", "x.Color", "; not a comment", "a]b", " lead", "trail ", "\tx", "a=b",
                          "=", "[Section]", "[x", "line\nend", "cr\r", "&#61;", "a&=b"}) {
    EXPECT_TRUE(TIniFile::KeyStorable(key)) << key;
    TIniFile ini(Path);
    ini.WriteString("FieldInput", key, "12");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(TIniFile(Path).ReadString("FieldInput", key, ""), "12") << key;
  }
  EXPECT_FALSE(TIniFile::KeyStorable(""));
  // Nothing written opened a section, and every line is a key of its own.
  const std::string text = Read();
  EXPECT_EQ(std::count(text.begin(), text.end(), '['), 1) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 17) << text;
}

TEST_F(IniFileTest, AMissingFileReadsDefaultsAndIsCreatedByTheFirstWrite) {
  {
    TIniFile ini(Path);
    EXPECT_EQ(ini.ReadString("MainForm", "ProgramVersion", "0.6.2"), "0.6.2");
    EXPECT_FALSE(fs::exists(Path));
    ini.WriteBool("MainForm", "FirstRun", false);
    ini.WriteInteger("Field", "FieldC", -45);
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_EQ(Read(), "[MainForm]\r\nFirstRun=0\r\n[Field]\r\nFieldC=-45\r\n");
}

TEST_F(IniFileTest, TwoObjectsDoNotUndoEachOthersWrites) {
  Write("[A]\r\nx=1\r\n");
  TIniFile first(Path), second(Path);
  first.WriteString("A", "y", "2");
  ASSERT_TRUE(first.UpdateFile());
  second.WriteString("B", "z", "3");
  ASSERT_TRUE(second.UpdateFile());
  TIniFile third(Path);
  EXPECT_EQ(third.ReadString("A", "y", ""), "2");
  EXPECT_EQ(third.ReadString("B", "z", ""), "3");
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWhole) {
  std::string original = "[Big]\r\n";
  for (int i = 0; i < 400; ++i) original += "Key" + std::to_string(i) + "=" + std::string(20, 'v') + "\r\n";
  Write(original);
  TIniFile ini(Path);
  ini.WriteString("Big", "Key0", "changed");
  // A file size limit stands in for a full disk.
  const bool ok = WithFileSizeLimit(1024, [&] { return ini.UpdateFile(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(Read(), original);
  EXPECT_TRUE(ini.Modified());  // the write stays pending and a retry succeeds
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_EQ(TIniFile(Path).ReadString("Big", "Key0", ""), "changed");
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(Dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);  // no temporary file left
}

TEST_F(IniFileTest, AFolderInThePlaceOfTheFileIsNotReplaced) {
  fs::create_directory(Path);
  TIniFile ini(Path);
  ini.WriteInteger("A", "B", 1);
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_TRUE(fs::is_directory(Path));
}

TEST_F(IniFileTest, TextOutsideTheCodePageComesBackUnchanged) {
  const std::string path = "/home/Łukasz/写真/données ☃/файл.zod";
  const std::string name = "Ресурс ☃ \u0098";
  const std::string literal = "a&#38;b &#x; &";
  {
    TIniFile ini(Path);
    ini.WriteString("MainForm", "FileList0.FileName", path);
    ini.WriteString("View", "UserName", "Łukasz");
    ini.WriteString("Resource", "Resource.Value0", name);
    ini.WriteInteger("Resource", name + ".Slur", 42);
    ini.WriteInteger("Resource", "Ресурс ☄ \u0098.Slur", 43);  // differs only outside the code page
    ini.WriteString("Other", "Literal", literal);
    ASSERT_TRUE(ini.UpdateFile());
  }
  const std::string bytes = Read();
  // The file stays code page 1251 text, the other characters as references.
  EXPECT_NE(bytes.find("FileList0.FileName=/home/&#321;ukasz/&#20889;&#30495;/donn&#233;es &#9731;/" +
                       Utf8ToCp1251("файл") + ".zod\r\n"),
            std::string::npos)
      << bytes;
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  TIniFile again(Path);
  EXPECT_EQ(again.ReadString("MainForm", "FileList0.FileName", ""), path);
  EXPECT_EQ(again.ReadString("View", "UserName", ""), "Łukasz");
  EXPECT_EQ(again.ReadString("Resource", "Resource.Value0", ""), name);
  EXPECT_EQ(again.ReadInteger("Resource", name + ".Slur", 0), 42);
  EXPECT_EQ(again.ReadInteger("Resource", "ресурс ☄ \u0098.slur", 0), 43);
  EXPECT_EQ(again.ReadString("Other", "Literal", ""), literal);
}

TEST_F(IniFileTest, OnlyTheFirstSectionAndKeyOfANameCount) {
  Write("pre=1\r\n[A]\r\nx=1\r\nx=9\r\n; note\r\n\r\n\r\n[B]\r\nz=0\r\n[a]\r\nx=2\r\ny=3\r\n");
  TIniFile ini(Path);
  EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
  EXPECT_FALSE(ini.ValueExists("A", "y")) << "a later section of the same name is not read";
  EXPECT_FALSE(ini.ValueExists("", "pre"));
  ini.WriteInteger("A", "x", 5);
  ini.WriteInteger("A", "y", 4);
  ini.WriteInteger("A", "w", 6);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(Read(), "pre=1\r\n[A]\r\nx=5\r\nx=9\r\n; note\r\ny=4\r\nw=6\r\n\r\n\r\n[B]\r\nz=0\r\n[a]\r\nx=2\r\ny=3\r\n");
}

TEST_F(IniFileTest, APipeInThePlaceOfTheFileReadsAsMissing) {
  ASSERT_EQ(mkfifo(Path.c_str(), 0600), 0);
  ExpectNoWaitOnPipe(Path, [&] {
    TIniFile ini(Path);
    EXPECT_EQ(ini.ReadInteger("Field", "FieldC", 45), 45);
  });
}
