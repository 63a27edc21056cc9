#pragma once
// Opening a file for reading only when it is a plain file. A named pipe or a
// device in the place of a data or settings file would otherwise block the
// open (and the program) until something writes to it.
#include <string>

// The error number given for a path that names something other than a
// regular file or a folder (a named pipe, a device, a socket), by these
// functions and by TSafeFileWriter. The system has no number of its own for
// this, and EINVAL also comes from other calls, so it is ours: far above
// every number errno takes (below 4096), so that no system error is taken for it.
// A folder gives the system's EISDIR.
inline constexpr int ErrorNotRegularFile = 0x10000;

// A descriptor open for reading, or -1 (errno telling why: EISDIR for a
// folder, ErrorNotRegularFile for another file that is not a regular one)
// when the path does not name a regular file or cannot be opened. Never
// waits for a writer.
int OpenRegularFile(const std::string& path);

// The whole content of a regular file. False, errno telling why as for
// OpenRegularFile, when it is no regular file or cannot be read.
bool ReadRegularFile(const std::string& path, std::string& bytes);
