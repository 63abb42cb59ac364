#include "word/code_pages.h"

#include <iconv.h>

#include <string>

#include "base/cp1252.h"

namespace qm {

namespace {

// A code point no code page gives: the byte has no character of its own.
constexpr char32_t kNoCharacter = 0xFFFFFFFF;

struct TCharsetPage {
    uint8_t Charset;
    uint16_t CodePage;
};

constexpr TCharsetPage kCharsetPages[] = {
    {2, kSymbolCodePage}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
    {136, 950},           {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
    {178, 1256},          {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
};

struct TLanguagePage {
    uint16_t PrimaryLanguage;  // the low 10 bits of a LID
    uint16_t CodePage;
};

constexpr TLanguagePage kLanguagePages[] = {
    {0x01, 1256}, {0x02, 1251}, {0x04, 936},  {0x05, 1250}, {0x08, 1253}, {0x0D, 1255},
    {0x0E, 1250}, {0x11, 932},  {0x12, 949},  {0x15, 1250}, {0x18, 1250}, {0x19, 1251},
    {0x1B, 1250}, {0x1C, 1250}, {0x1E, 874},  {0x1F, 1254}, {0x20, 1256}, {0x22, 1251},
    {0x23, 1251}, {0x24, 1250}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x29, 1256},
    {0x2A, 1258}, {0x2F, 1251},
};

// Serbian, Croatian and Bosnian share a primary language: the Cyrillic sublanguages use 1251.
constexpr uint16_t kSerboCroatian = 0x1A;
constexpr uint16_t kSerbianCyrillic = 0x0C1A;
constexpr uint16_t kBosnianCyrillic = 0x201A;
// Chinese: Taiwan and Hong Kong write traditional characters (950), the others simplified.
constexpr uint16_t kChineseTaiwan = 0x0404;
constexpr uint16_t kChineseHongKong = 0x0C04;

// Decodes one byte of a single-byte code page with iconv; kNoCharacter where it has none.
char32_t DecodeWithIconv(iconv_t cd, uint8_t byte) {
    char in[1] = {static_cast<char>(byte)};
    char32_t out[2] = {};
    char* inPtr = in;
    size_t inLeft = 1;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof(out);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
        outLeft != sizeof(char32_t)) {
        return kNoCharacter;
    }
    return out[0];
}

}  // namespace

uint16_t CodePageOfCharset(uint8_t charset) {
    for (const TCharsetPage& page : kCharsetPages) {
        if (page.Charset == charset) return page.CodePage;
    }
    return 0;
}

uint16_t CodePageOfLanguage(uint16_t lid) {
    const uint16_t primary = lid & 0x3FF;
    if (primary == kSerboCroatian)
        return lid == kSerbianCyrillic || lid == kBosnianCyrillic ? 1251 : 1250;
    if (primary == 0x04) return lid == kChineseTaiwan || lid == kChineseHongKong ? 950 : 936;
    for (const TLanguagePage& page : kLanguagePages) {
        if (page.PrimaryLanguage == primary) return page.CodePage;
    }
    return kWesternCodePage;
}

bool IsDoubleByteCodePage(uint16_t codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

const TCodePageDecoder::TTable& TCodePageDecoder::TableOf(uint16_t codePage) {
    auto& slot = tables_[codePage];
    if (slot) return *slot;
    slot = std::make_unique<TTable>();
    TTable& table = *slot;
    for (int b = 0; b < 256; ++b)
        table[b] = Cp1252ToUnicode(static_cast<uint8_t>(b));
    if (codePage == kWesternCodePage || codePage == kSymbolCodePage) return table;
    // The two-byte code pages share ASCII; their other bytes only make characters in pairs.
    if (IsDoubleByteCodePage(codePage)) {
        for (int b = 0x80; b < 256; ++b)
            table[b] = kNoCharacter;
        return table;
    }
    const std::string name =
        codePage == kMacRomanCodePage ? "MACINTOSH" : "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-32LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return table;  // unknown here: kept as Windows-1252
    for (int b = 0x80; b < 256; ++b)
        table[b] = DecodeWithIconv(cd, static_cast<uint8_t>(b));
    iconv_close(cd);
    return table;
}

char32_t TCodePageDecoder::Decode(uint8_t byte, uint16_t codePage) {
    if (byte < 0x80) return byte;
    const char32_t code = TableOf(codePage)[byte];
    if (code != kNoCharacter) return code;
    ++unconverted_;
    return '?';
}

}  // namespace qm
