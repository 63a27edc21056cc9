#pragma once
// Writing a file whole or not at all. The text goes to a temporary file in the
// target's folder; Commit() flushes it to the disk and renames it over the
// target. Until then, and whenever anything fails, the old file stays as it was.
// A target that is a symbolic link is followed: the linked file is replaced and
// the link stays. The temporary file is named ".<name>.XXXXXX.saving" (a name
// too long for that is shortened to fit the file system's limit); those of the
// same target that an earlier, killed save left behind are removed when the
// target is next saved.
#include <cstddef>
#include <string>
#include <string_view>

class TSafeFileWriter {
 public:
  // Opens the temporary file. Refuses (Ok() false) when the folder cannot take
  // a new file or when the target exists and may not be written.
  explicit TSafeFileWriter(const std::string& path);
  ~TSafeFileWriter();  // a writer not committed removes its temporary file
  TSafeFileWriter(const TSafeFileWriter&) = delete;
  TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

  bool Ok() const { return Good; }
  // The system's error number (errno) of the step that failed; 0 while none did.
  // A target that is a folder gives EISDIR, one that is another kind of file
  // than a regular one (a pipe, a device) ErrorNotRegularFile (FileOpen.h).
  int Error() const { return Err; }
  void Write(const char* data, size_t size);
  void Write(std::string_view text) { Write(text.data(), text.size()); }
  void Put(char c) {
    if (Used == Buffer.size()) Flush();
    Buffer[Used++] = c;
  }
  // Room for `size` bytes at the end of the buffer (size at most 64).
  char* Reserve(size_t size) {
    if (Buffer.size() - Used < size) Flush();
    return Buffer.data() + Used;
  }
  void Advance(size_t size) { Used += size; }
  // Flushes, syncs and renames over the target. False (and the target
  // untouched) when any step failed.
  bool Commit();
  // Drops the temporary file; the target stays as it was.
  void Abandon();

 private:
  void Flush();
  void Fail(int error);
  std::string Target, Temp;
  int Fd = -1;
  bool Good = false;
  int Err = 0;
  std::string Buffer;
  size_t Used = 0;
};
