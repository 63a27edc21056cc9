#pragma once
// Conversion between the program's UTF-8 strings and the Windows Cyrillic code
// page (1251) in which its text files are stored.
#include <string>
#include <string_view>

// Bytes of code page 1251 to UTF-8. A byte the code page leaves undefined becomes "?".
std::string Cp1251ToUtf8(std::string_view text);
// UTF-8 to code page 1251. A character the code page cannot carry, or a byte
// that is not valid UTF-8, becomes "?".
std::string Utf8ToCp1251(std::string_view text);
// Lower case of code page 1251 text (Latin and Cyrillic letters).
std::string LowerCp1251(std::string_view text);
// Compares two UTF-8 strings without regard to letter case (Latin and Cyrillic).
bool SameTextCI(std::string_view a, std::string_view b);
