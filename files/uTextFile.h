#pragma once
// Line-oriented text files in code page 1251 with CR LF line ends: a streaming
// reader with the number rules of the data and set files, and a writer that
// replaces its target whole or not at all.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/SafeFile.h"

// The longest line the reader takes, its line end included; a longer one is
// taken for a broken file.
constexpr size_t TextMaxLine = size_t{1} << 20;

// The code page 1251 bytes a line of program text (UTF-8) is written as: a
// character the code page cannot carry becomes "?", and a line break a blank,
// so that one value stays one line.
std::string LineBytes(std::string_view text);

class TTextReader {
 public:
  TTextReader() = default;
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  // False, with errno telling why, when the file cannot be opened for reading.
  bool Open(const std::string& path);
  void Close();
  // True when no byte is left.
  bool Eof();
  // The next line without its line end, as the file's bytes. At the end of the
  // file it gives an empty line and returns false. The view lasts until the next read.
  bool ReadRaw(std::string_view& line);
  std::string_view ReadRaw() {
    std::string_view line;
    ReadRaw(line);
    return line;
  }
  // The next line decoded to UTF-8.
  std::string ReadString();
  // A number on a line of its own: blank lines and blanks before it are
  // skipped, the first token of the line is taken and the rest of the line
  // dropped. At the end of the file the number is 0 (and HitEnd() turns true).
  // False when the token is not a whole signed 32-bit decimal number.
  bool ReadNumber(int32_t& value);
  // A number that must be the whole line (blanks around it allowed).
  bool ReadLineNumber(int32_t& value);
  // True once a number was asked for after the end of the file.
  bool HitEnd() const { return EndHit; }
  // True when a line was longer than the reader accepts.
  bool LineTooLong() const { return TooLong; }
  // Bytes not yet consumed.
  uint64_t Remaining() const { return FileSize - Consumed; }
  uint64_t Size() const { return FileSize; }

  static bool ParseNumber(std::string_view text, int32_t& value);

 private:
  bool Fill();  // moves what is left to the front and reads more; false at the end
  int Fd = -1;
  char* Buffer = nullptr;
  size_t Capacity = 0;
  size_t Pos = 0, Len = 0;  // unread bytes are Buffer[Pos .. Len)
  bool AtFileEnd = false;
  bool EndHit = false;
  bool TooLong = false;
  uint64_t FileSize = 0, Consumed = 0;
};

// Writes lines that the reader takes back: a line longer than TTextReader
// accepts (TextMaxLine, its line end included) is not written, and the whole
// file then fails, so that no file is made that its own reader would refuse.
class TTextWriter {
 public:
  explicit TTextWriter(const std::string& path) : File(path) {}
  bool Ok() const { return File.Ok(); }
  // The system's error number of the step that failed; 0 while none did (and
  // for a line too long, which is no error of the system's).
  int Error() const { return File.Error(); }
  // A line of program text (UTF-8), written as LineBytes gives it. False when
  // the line is too long for the reader: the writer then fails (LineTooLong()).
  bool WriteString(std::string_view text);
  // A line of plain ASCII text, written as it is; false as for WriteString.
  bool WriteRaw(std::string_view text);
  void WriteNumber(int64_t value);
  // True once a line was too long for the reader; the file is then dropped
  // and Commit() fails, leaving the target as it was.
  bool LineTooLong() const { return TooLong; }
  bool Commit() { return !TooLong && File.Commit(); }
  void Abandon() { File.Abandon(); }

 private:
  bool Fits(size_t lineSize);
  TSafeFileWriter File;
  bool TooLong = false;
};

// A 64-bit counter written into a 32-bit number line: saturated at the limits.
int32_t Saturate32(int64_t value);
