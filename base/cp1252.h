// Windows-1252, the code page of 8-bit Word text and of the PDF writer's simple fonts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// The Unicode code point of a Windows-1252 byte (the five bytes the code page leaves undefined
// map to themselves, U+0081 and so on).
char32_t Cp1252ToUnicode(uint8_t code);

// The Windows-1252 byte of a code point; false ('?') when the code page has no such character.
// The inverse of Cp1252ToUnicode: every byte comes back as itself, the five undefined ones too.
bool Cp1252FromUnicode(char32_t cp, uint8_t& code);

// Code points in Windows-1252, each one the code page lacks as '?'.
std::string Cp1252Encode(std::u32string_view text);

}  // namespace qm
