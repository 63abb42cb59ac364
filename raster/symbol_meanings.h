// What the characters of the two common symbol fonts stand for in Unicode. Word keeps a Symbol
// or Wingdings character as U+F000 plus its byte in the font; where no real symbol face is
// installed to draw that byte, the character is drawn as its Unicode meaning instead.
#pragma once

#include <string_view>

namespace qm {

// The first and last private-use code points a symbol font's byte is kept at.
inline constexpr char32_t kFirstSymbolCode = 0xF020;
inline constexpr char32_t kLastSymbolCode = 0xF0FF;

// The Unicode meaning of a symbol font's private-use character (U+F020..U+F0FF) for the family
// asked for: "Symbol" (the Adobe Symbol encoding) or "Wingdings" (case-insensitive). 0 for
// another family, a code outside that range and a byte without a known meaning.
char32_t SymbolMeaning(std::string_view family, char32_t code);

}  // namespace qm
