#pragma once
// Opening a file for reading only when it is a plain file. A named pipe or a
// device in the place of a data or settings file would otherwise block the
// open (and the program) until something writes to it.
#include <string>

// A descriptor open for reading, or -1 (errno telling why) when the path does
// not name a regular file or cannot be opened. Never waits for a writer.
int OpenRegularFile(const std::string& path);

// The whole content of a regular file. False when it is no regular file or
// cannot be read.
bool ReadRegularFile(const std::string& path, std::string& bytes);
