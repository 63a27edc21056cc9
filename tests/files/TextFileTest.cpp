// The text layer: the 1251 codec, the number rules of the line reader and
// lines that span the reader's buffer.
#include "FileTestUtil.h"
#include "files/uTextFile.h"
#include "platform/Cp1251.h"

TEST(Codec, EveryByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = Cp1251ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1251(utf8), all);
  EXPECT_EQ(Utf8ToCp1251Refs(utf8), all) << "the settings form is the same for what the code page carries";
  EXPECT_EQ(Cp1251ToUtf8("\xC0\xE1\xE2\xA8\xB8"), "АбвЁё");
  // 0x98, undefined in the code page, stands for the control character of its number.
  EXPECT_EQ(Cp1251ToUtf8("a\x98"), "a\u0098");
}

TEST(Codec, WhatTheCodePageCannotCarryBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp1251("a→b"), "a?b");
  EXPECT_EQ(Utf8ToCp1251("x\xFFy"), "x?y");        // not UTF-8
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");            // cut sequence
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
  EXPECT_EQ(Utf8ToCp1251("€"), "\x88");
}

TEST(Codec, CaseInsensitiveComparison) {
  EXPECT_TRUE(SameTextCI("Ресурс Жёлтый", "РЕСУРС ЖЁЛТЫЙ"));
  EXPECT_TRUE(SameTextCI("Water", "wATER"));
  EXPECT_FALSE(SameTextCI("Вода", "Вода "));
  EXPECT_FALSE(SameTextCI("Ель", "Ёль"));
  EXPECT_EQ(LowerCp1251(Utf8ToCp1251("ЁЖ Ab")), Utf8ToCp1251("ёж ab"));
}

TEST(TextReader, NumberRules) {
  TTempDir dir;
  const std::string f = dir.File("numbers.txt");
  WriteAll(f, "12\r\n\r\n   \r\n  -7 rest of line\r\n2x\r\n 99999999999\r\n+5\r\n  42  \r\n42 x\r\n");
  TTextReader in;
  ASSERT_TRUE(in.Open(f));
  int32_t v = -1;
  EXPECT_TRUE(in.ReadNumber(v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(in.ReadNumber(v));  // blank lines and blanks before it, first token taken
  EXPECT_EQ(v, -7);
  EXPECT_FALSE(in.ReadNumber(v));  // not a number
  EXPECT_FALSE(in.ReadNumber(v));  // beyond 32 bits
  EXPECT_TRUE(in.ReadNumber(v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(in.ReadLineNumber(v));  // a whole line, blanks around it allowed
  EXPECT_EQ(v, 42);
  EXPECT_FALSE(in.ReadLineNumber(v));  // a whole line must be a number in full
  EXPECT_FALSE(in.HitEnd());
  EXPECT_TRUE(in.Eof());
  v = -1;
  EXPECT_TRUE(in.ReadNumber(v));  // at the end a number is 0
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(in.HitEnd());
  EXPECT_FALSE(in.ReadLineNumber(v));  // a whole-line number at the end is not one
  EXPECT_EQ(in.ReadRaw(), "");
}

TEST(TextReader, LinesAcrossTheBufferAndWithoutALineEnd) {
  TTempDir dir;
  const std::string f = dir.File("long.txt");
  std::string text;
  std::vector<std::string> expect;
  for (int i = 0; i < 60000; ++i) {
    expect.push_back(std::string(static_cast<size_t>(i % 17), 'a') + std::to_string(i));
    text += expect.back() + (i % 3 ? "\r\n" : "\n");
  }
  expect.push_back(std::string(300000, 'z'));  // longer than the buffer
  text += expect.back() + "\r\nlast";
  expect.push_back("last");
  WriteAll(f, text);
  TTextReader in;
  ASSERT_TRUE(in.Open(f));
  std::string_view line;
  size_t i = 0;
  while (in.ReadRaw(line)) {
    ASSERT_LT(i, expect.size());
    ASSERT_EQ(line, expect[i]) << i;
    ++i;
  }
  EXPECT_EQ(i, expect.size());
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(TextReader, AnOverlongLineEndsTheFile) {
  TTempDir dir;
  const std::string f = dir.File("huge.txt");
  WriteAll(f, "1\r\n" + std::string(3 << 20, '7') + "\r\n2\r\n");
  TTextReader in;
  ASSERT_TRUE(in.Open(f));
  int32_t v = 0;
  EXPECT_TRUE(in.ReadNumber(v));
  EXPECT_EQ(v, 1);
  EXPECT_TRUE(in.ReadNumber(v));
  EXPECT_TRUE(in.LineTooLong());
  EXPECT_TRUE(in.HitEnd());
}

TEST(TextWriter, LinesEndInCrLfAndLineBreaksInsideAValueBecomeBlanks) {
  TTempDir dir;
  const std::string f = dir.File("out.txt");
  TTextWriter out(f);
  ASSERT_TRUE(out.Ok());
  out.WriteString("Имя\nс переводом\r");
  out.WriteNumber(-2147483648LL);
  out.WriteNumber(0);
  out.WriteRaw("[Tag]");
  EXPECT_EQ(Saturate32(5000000000LL), 2147483647);
  EXPECT_EQ(Saturate32(-5000000000LL), INT32_MIN);
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(ReadAll(f), Utf8ToCp1251("Имя с переводом ") + "\r\n-2147483648\r\n0\r\n[Tag]\r\n");
}
