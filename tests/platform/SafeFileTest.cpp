// Whole-or-nothing writing around links, leftovers of killed saves and files
// that are no plain files.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Blocking.h"
#include "platform/FileOpen.h"
#include "platform/SafeFile.h"

namespace fs = std::filesystem;

namespace {

class SafeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("zo_safe_" + std::to_string(getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  std::string P(const std::string& name) const { return (Dir / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static bool Save(const std::string& path, const std::string& text) {
    TSafeFileWriter out(path);
    out.Write(text);
    return out.Commit();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path Dir;
};

}  // namespace

TEST_F(SafeFile, ALinkedTargetIsUpdatedAndTheLinkStays) {
  fs::create_directories(Dir / "real");
  std::ofstream(P("real/data.zod")) << "old";
  fs::create_symlink("real/data.zod", Dir / "relative.zod");
  fs::create_symlink(Dir / "relative.zod", Dir / "chain.zod");  // a link to a link
  ASSERT_TRUE(Save(P("chain.zod"), "new"));
  EXPECT_TRUE(fs::is_symlink(Dir / "chain.zod"));
  EXPECT_TRUE(fs::is_symlink(Dir / "relative.zod"));
  EXPECT_EQ(Read(P("real/data.zod")), "new");
  // A link whose file does not exist yet makes that file.
  fs::create_symlink("real/later.ini", Dir / "dangling.ini");
  ASSERT_TRUE(Save(P("dangling.ini"), "made"));
  EXPECT_TRUE(fs::is_symlink(Dir / "dangling.ini"));
  EXPECT_EQ(Read(P("real/later.ini")), "made");
  // Links that lead round to each other name no file: the writer fails at
  // once with the system's cause, makes no temporary file and leaves both links.
  fs::create_symlink("loop2.ini", Dir / "loop1.ini");
  fs::create_symlink("loop1.ini", Dir / "loop2.ini");
  {
    TSafeFileWriter out(P("loop1.ini"));
    EXPECT_FALSE(out.Ok());
    EXPECT_EQ(out.Error(), ELOOP);
    out.Write("lost");
    EXPECT_FALSE(out.Commit());
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"chain.zod", "dangling.ini", "loop1.ini", "loop2.ini", "real",
                                                "relative.zod"}));
  EXPECT_TRUE(fs::is_symlink(Dir / "loop1.ini"));
  EXPECT_TRUE(fs::is_symlink(Dir / "loop2.ini"));
}

TEST_F(SafeFile, LeftoversOfAKilledSaveGoAtTheNextSave) {
  std::ofstream(P("omra.ini")) << "old";
  {
    // A save still running (in this process or another) holds its file locked.
    TSafeFileWriter running(P("omra.ini"));
    ASSERT_TRUE(running.Ok());
    // What a save killed half-way leaves behind, and files that only look alike.
    std::ofstream(P(".omra.ini.Ab3dE9.saving")) << std::string(5000, 'x');
    std::ofstream(P(".omra.ini.backup")) << "keep";
    std::ofstream(P(".omra.ini.Ab3dE9.saving.txt")) << "keep";
    std::ofstream(P(".other.ini.Zz9aa1.saving")) << "keep";
    ASSERT_TRUE(Save(P("omra.ini"), "new"));
    EXPECT_EQ(Names().size(), 5u) << "the leftover went, the running save's file stayed";
    EXPECT_FALSE(fs::exists(Dir / ".omra.ini.Ab3dE9.saving"));
    running.Abandon();
  }
  EXPECT_EQ(Read(P("omra.ini")), "new");
  EXPECT_EQ(Names(), (std::vector<std::string>{".omra.ini.Ab3dE9.saving.txt", ".omra.ini.backup",
                                                ".other.ini.Zz9aa1.saving", "omra.ini"}));
}

TEST_F(SafeFile, NamesUpToTheLimitAreSavedAndTheirLeftoversGo) {
  // Names of 241 to 255 bytes: the temporary name must not pass 255 bytes.
  // Two long names that differ only at their ends, and a short one.
  std::string stem;
  while (stem.size() < 240) stem += "Я";
  const std::string a = stem + "a.zod", b = stem + "b.zod";  // 245 bytes each
  ASSERT_LE(a.size(), 255u);
  for (const std::string& name : {stem.substr(0, 236) + ".zod", a, b}) ASSERT_TRUE(Save(P(name), "old")) << name.size();
  // What a save killed half-way leaves: the running save's own name with other random letters.
  auto leftoverOf = [&](const std::string& name) {
    TSafeFileWriter running(P(name));
    EXPECT_TRUE(running.Ok());
    std::string temp;
    for (const std::string& n : Names())
      if (n.front() == '.' && n.find(".Ab3dE9.") == std::string::npos) temp = n;
    EXPECT_LE(temp.size(), 255u);
    EXPECT_EQ(temp.substr(temp.size() - 14, 1), ".");
    temp.replace(temp.size() - 13, 6, "Ab3dE9");
    std::ofstream(P(temp)) << "half";
    return temp;
  };
  const std::string leftA = leftoverOf(a), leftB = leftoverOf(b);
  EXPECT_NE(leftA, leftB);
  ASSERT_TRUE(Save(P(a), "new"));
  EXPECT_FALSE(fs::exists(Dir / leftA));
  EXPECT_TRUE(fs::exists(Dir / leftB)) << "another file's leftover stays";
  ASSERT_TRUE(Save(P(b), "new"));
  EXPECT_EQ(Names().size(), 3u);
  EXPECT_EQ(Read(P(a)), "new");
}

TEST_F(SafeFile, OnlyRegularFilesAreOpenedForReading) {
  std::ofstream(P("plain.txt")) << "text";
  std::string bytes;
  EXPECT_TRUE(ReadRegularFile(P("plain.txt"), bytes));
  EXPECT_EQ(bytes, "text");
  EXPECT_FALSE(ReadRegularFile(Dir.string(), bytes));
  EXPECT_FALSE(ReadRegularFile(P("absent"), bytes));
  ASSERT_EQ(mkfifo(P("pipe").c_str(), 0600), 0);
  ExpectNoWaitOnPipe(P("pipe"), [&] { EXPECT_EQ(OpenRegularFile(P("pipe")), -1); });
}
