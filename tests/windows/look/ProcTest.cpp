#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "windows/look/uProc.h"

TEST(ShortenPath, KeepsFoldersWhileTheTextSoFarIsShort) {
  EXPECT_EQ(ShortenPath("C:/Data/sim/test.zod", 30), "C:/Data/sim/test.zod");
  const QString long_ = ShortenPath("C:/Documents and Settings/user/My Documents/run.zod", 30);
  EXPECT_EQ(long_, "C:/Documents and Settings/…/run.zod");
  EXPECT_EQ(long_.size(), 35);  // the bound is on the text before a folder is taken
  EXPECT_EQ(ShortenPath("/home/anna/models/evolution/fight_mutation.zod", 30),
            "/home/anna/models/…/fight_mutation.zod");
}

TEST(ShortenPath, BareNamesAndTrailingSeparators) {
  const QString bare = QString(100, QLatin1Char('x')) + ".zod";
  EXPECT_EQ(ShortenPath(bare, 30), bare);
  EXPECT_EQ(ShortenPath("C:/a/", 30), "C:/a");
  EXPECT_EQ(ShortenPath("/run.zod", 30), "/run.zod");
  // A name already at the bound takes no folder at all.
  EXPECT_EQ(ShortenPath("dir/" + QString(30, QLatin1Char('n')), 30), "…/" + QString(30, QLatin1Char('n')));
  QString out = "stale";
  ShortenPath("a/b", 0, out);
  EXPECT_EQ(out, "…/b");
}

TEST(FileTypeText, NamesEveryKnownTypeAndNothingElse) {
  EXPECT_EQ(FileTypeText(0, 5), "Unknown");
  EXPECT_EQ(FileTypeText(1, 0), "Приложение");
  EXPECT_EQ(FileTypeText(2, 9), "DLL");
  EXPECT_EQ(FileTypeText(3, 0), "Unknown Driver");
  EXPECT_EQ(FileTypeText(3, 10), "Communications Driver");
  EXPECT_EQ(FileTypeText(3, 11), "");
  EXPECT_EQ(FileTypeText(4, 3), "Truetype Font");
  EXPECT_EQ(FileTypeText(4, 4), "");
  EXPECT_EQ(FileTypeText(5, 0xAB12), "Virtual Defice Identifier = 0000AB12");
  EXPECT_EQ(FileTypeText(6, 0), "");
  EXPECT_EQ(FileTypeText(7, 1), "Static-link Library");
}

TEST(GetFileInfo, ReadsTheProgramsOwnBlock) {
  TFileInfo info;
  GetFileInfo(QStringLiteral("/proc/self/exe"), info);
  EXPECT_EQ(info.FileVersion, ZO_VERSION);
  EXPECT_EQ(info.ProductVersion, "0.6.3");
  EXPECT_EQ(info.ProductName, "ZeltorOmra");
  EXPECT_FALSE(info.CompanyName.isEmpty());
  EXPECT_EQ(info.FileTypeText, "Приложение");
  EXPECT_FALSE(info.Debug);
  EXPECT_FALSE(info.PreRelease);
}

TEST(GetFileInfo, FilesWithoutABlockGiveOnlyTheTypeName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString text = dir.filePath("notes.txt");
  QFile f(text);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("just words\n");
  f.close();
  TFileInfo info;
  info.FileVersion = "stale";
  GetFileInfo(text, info);
  EXPECT_FALSE(info.TypeName.isEmpty());
  EXPECT_LE(info.TypeName.size(), 80);
  EXPECT_TRUE(info.FileVersion.isEmpty());
  EXPECT_TRUE(info.FileTypeText.isEmpty());

  GetFileInfo(dir.filePath("absent.exe"), info);
  EXPECT_TRUE(info.TypeName.isEmpty());
  EXPECT_TRUE(info.FileVersion.isEmpty());
}

TEST(GetCurrentUserName, AlwaysGivesAName) {
  QString name;
  GetCurrentUserName(name);
  EXPECT_FALSE(name.isEmpty());
}

TEST(FixedText, FourSignificantDigitsTwoDecimalsAndTheExponentFormFromTenThousand) {
  EXPECT_EQ(FixedText(0, 4, 2), "0.00");
  EXPECT_EQ(FixedText(0.001, 4, 2), "0.00");
  EXPECT_EQ(FixedText(0.125678, 4, 2), "0.13");
  EXPECT_EQ(FixedText(12.3456, 4, 2), "12.35");
  EXPECT_EQ(FixedText(123.456, 4, 2), "123.50") << "four significant digits, then two decimals";
  EXPECT_EQ(FixedText(1234.567, 4, 2), "1235.00");
  EXPECT_EQ(FixedText(9999.4, 4, 2), "9999.00");
  EXPECT_EQ(FixedText(9999.7, 4, 2), "1E4") << "rounding up to five digits gives the exponent form";
  EXPECT_EQ(FixedText(10000, 4, 2), "1E4");
  EXPECT_EQ(FixedText(12345.678, 4, 2), "1.235E4");
  EXPECT_EQ(FixedText(250000, 4, 2), "2.5E5");
  EXPECT_EQ(FixedText(-12.3456, 4, 2), "-12.35");
}
