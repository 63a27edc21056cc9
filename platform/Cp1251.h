#pragma once
// Conversion between the program's UTF-8 strings and the Windows Cyrillic code
// page (1251) in which its text files are stored.
#include <string>
#include <string_view>

// Bytes of code page 1251 to UTF-8. The byte the code page leaves undefined
// (0x98) becomes the control character U+0098, which converts back to it.
std::string Cp1251ToUtf8(std::string_view text);
// UTF-8 to code page 1251. A character the code page cannot carry, or a byte
// that is not valid UTF-8, becomes "?".
std::string Utf8ToCp1251(std::string_view text);
// The first character of UTF-8 text that code page 1251 has no byte for, as
// UTF-8; empty when the code page carries the whole text.
std::string FirstCharNotInCp1251(std::string_view text);
// UTF-8 to code page 1251 for text that must come back whole (the settings
// file): a character the code page cannot carry is written as the decimal
// character reference "&#N;", as in HTML, and an "&" that would begin such a
// reference as "&#38;". A byte that is not valid UTF-8 still becomes "?".
std::string Utf8ToCp1251Refs(std::string_view text);
// The reverse: code page 1251 bytes to UTF-8 with exactly the references
// Utf8ToCp1251Refs writes replaced by their characters: "&#38;" before a "#",
// and "&#N;" (N in decimal without leading zeros) for a character the code
// page cannot carry. Any other "&#...;" text (an "&#65;", an "&#0;") stays as
// it stands, so no character the code page carries, NUL included, comes out
// of a reference.
std::string Cp1251RefsToUtf8(std::string_view text);
// Lower case of code page 1251 text (Latin and Cyrillic letters).
std::string LowerCp1251(std::string_view text);
// UTF-8 text with Latin and Cyrillic capitals lowered: two texts are the same
// for SameTextCI exactly when their folded forms are equal.
std::string FoldCaseUtf8(std::string_view text);
// Compares two UTF-8 strings without regard to letter case (Latin and Cyrillic).
bool SameTextCI(std::string_view a, std::string_view b);
