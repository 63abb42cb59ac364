// The Windows code pages of 8-bit text in Word 6 and Word 95 documents: which one a font's
// character set or a language stands for, and its characters as Unicode code points.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>

namespace qm {

inline constexpr uint16_t kWesternCodePage = 1252;
// The Macintosh's Roman character set, of documents written by Word for the Macintosh.
inline constexpr uint16_t kMacRomanCodePage = 10000;
// A symbol font's bytes are its glyph numbers, not characters of a code page: they stay as
// they are read (as Windows-1252), as they always were.
inline constexpr uint16_t kSymbolCodePage = 1;

// The code page of a font's character set (the FFN's chs); 0 for the ANSI and default sets,
// whose code page is the system's, that is the document's language's.
uint16_t CodePageOfCharset(uint8_t charset);
// The Windows ANSI code page of a language id (LID), Windows-1252 for those without their own.
uint16_t CodePageOfLanguage(uint16_t lid);
// Whether the code page is one of the East Asian ones that store characters in two bytes.
bool IsDoubleByteCodePage(uint16_t codePage);

// Converts bytes of one code page after another to code points, each code page's table made
// once, on first use. Bytes a code page leaves undefined, and the lead and trail bytes of the
// two-byte code pages, become '?' and are counted.
class TCodePageDecoder {
  public:
    char32_t Decode(uint8_t byte, uint16_t codePage);
    int64_t Unconverted() const { return unconverted_; }

  private:
    using TTable = std::array<char32_t, 256>;
    const TTable& TableOf(uint16_t codePage);

    std::map<uint16_t, std::unique_ptr<TTable>> tables_;
    int64_t unconverted_ = 0;
};

}  // namespace qm
