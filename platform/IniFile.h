#pragma once
// The settings (profile) file: "[Section]" lines and "Key=Value" lines,
// section and key names compared without regard to letter case, stored in
// code page 1251 with CR LF line ends. Strings in and out are UTF-8; a
// character the code page cannot carry is stored as the decimal character
// reference "&#N;" (and an "&" that would begin one as "&#38;"), and so is a
// character the line cannot hold where it stands (a line end; in a key a
// blank at either end, an "=" or a leading "["), so that every key, name and
// path comes back as it was written.
//
// Reads see the file as it was when the object was made plus this object's
// own writes. Writes are gathered and put into the file by UpdateFile() (and
// by the destructor): the current file is read again, the writes are applied
// in order, and the result replaces the file whole, through a temporary file,
// or not at all. Lines the program does not know (other sections and keys,
// comments) are kept as they are; nothing is ever erased, and a file that
// exists but cannot be read is never written over. Every read and write
// finds its line through an index, so a file of many keys is read and written
// in time proportional to its size.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TIniFile {
 public:
  // `startFrom`: while `fileName` is not there, the file begins as that other
  // file: reads see its keys, and the first UpdateFile() writes its text whole
  // with the writes on top. When that other file is there but cannot be read,
  // UpdateFile() writes nothing (a file of the writes alone would stand in
  // for it). What is no file there (none, a folder, a pipe) begins empty.
  explicit TIniFile(std::string fileName, const std::string& startFrom = {});
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return Path; }

  // The whole value, however long; the default when the key is absent.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // Decimal, or hexadecimal after "$", "0x" or "0X"; the default when the key
  // is absent or its value is not such a number.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  // An integer: 0 is false, any other true; the default otherwise.
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Keys an older version wrote with a name in them as it stood (an "&#" in
  // it, which keys of this version carry as "&#38;#"): the value of a key as
  // it stands in the file, code page 1251 with no reference decoded ("" when
  // absent), and a string or an integer under a key given in that form.
  std::string ReadStoredText(const std::string& section, const std::string& key) const;
  std::string ReadStringAtStoredKey(const std::string& section, const std::string& storedKey,
                                    const std::string& def) const;
  int32_t ReadIntegerAtStoredKey(const std::string& section, const std::string& storedKey, int32_t def) const;

  // The value comes back without blanks at its ends; WriteExactString keeps
  // them too, for a value that must come back exactly (a name that keys others).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteExactString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Whether a key can be written and found again: any key but the empty one.
  static bool KeyStorable(const std::string& key);

  // Puts the writes made so far into the file. False when the file could not
  // be written, or exists but could not be read (it is then never written
  // over), or is not there yet and the file it starts from could not be read:
  // the old file is whole (or still not there) and the writes stay pending.
  bool UpdateFile();
  bool Modified() const { return !Pending.empty(); }
  // The system's error number (errno) of the last failure: of reading the
  // file when it exists but could not be read (when the object was made, or
  // again in UpdateFile), of reading the file it starts from (in UpdateFile),
  // or of writing it; 0 while there was none and once UpdateFile succeeded.
  int Error() const { return Err; }

 private:
  struct TWrite {
    std::string Section, Key, Value;  // code page 1251
  };
  // One "[Name]" line and the lines up to the next one (the lines before the
  // first section form a section without a header, which is never looked up).
  struct TSection {
    std::string Header;
    std::vector<std::string> Lines;
    size_t End = 0;  // Lines[0 .. End) reach to the last line that is not blank
    std::unordered_map<std::string, size_t> Keys;  // lower-case key -> its first line
  };
  // The file's lines, code page 1251, without line ends.
  struct TContent {
    std::vector<TSection> Sections;
    std::unordered_map<std::string, size_t> Index;  // lower-case name -> its first section
    void Parse(const std::string& text);
    // The value part of the key's line, or nullptr.
    const std::string* Find(const std::string& section, const std::string& key, std::string& value) const;
    void Apply(const TWrite& write);
  };
  // False, with the system's error number in `error`, when the file could
  // not be read; ENOENT when there is none.
  static bool Load(const std::string& path, TContent& content, int& error);
  void Write(const std::string& section, const std::string& key, const std::string& value, bool exact);

  std::string Path;
  TContent Content;
  std::vector<TWrite> Pending;
  int Err = 0;
  int StartErr = 0;  // why the file to start from could not be read
};
