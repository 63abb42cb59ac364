#include "model/asian_gap.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

// The gap is this part of the larger font size: reference renderings of Chinese documents show
// 2.1 points between 10.5-point ideographs and the digits or letters beside them.
constexpr double kGapPerEm = 0.2;

struct TRange {
    char32_t First;
    char32_t Last;
};

// Sorted and disjoint.
constexpr TRange kEastAsian[] = {
    {0x1100, 0x11FF},    // Hangul Jamo
    {0x2E80, 0x2FDF},    // CJK and Kangxi radicals
    {0x3000, 0x30FF},    // CJK symbols and punctuation, Hiragana, Katakana
    {0x3100, 0x31FF},    // Bopomofo, Hangul compatibility Jamo, Katakana extensions
    {0x3400, 0x4DBF},    // CJK extension A
    {0x4E00, 0x9FFF},    // CJK unified ideographs
    {0xA960, 0xA97F},    // Hangul Jamo extended A
    {0xAC00, 0xD7FF},    // Hangul syllables, Jamo extended B
    {0xF900, 0xFAFF},    // CJK compatibility ideographs
    {0xFF01, 0xFFEE},    // fullwidth and halfwidth forms
    {0x20000, 0x3134F},  // CJK extensions B and later
};

bool IsLatinLetter(char32_t code) {
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) return true;
    return code >= 0xC0 && code <= 0x24F && code != 0xD7 && code != 0xF7;
}

bool IsDigit(char32_t code) {
    return code >= '0' && code <= '9';
}

// Whether the paragraph wants a gap between an East Asian character and `other`.
bool WantsGap(const TParaFormat& para, char32_t other) {
    return (para.AsianLatinGap && IsLatinLetter(other)) || (para.AsianDigitGap && IsDigit(other));
}

double FontSize(const TDocument& doc, const TCharRec& ch) {
    return ch.FontIndex >= 0 && ch.FontIndex < doc.FontCount() ? doc.Fonts[ch.FontIndex].Size : 0;
}

}  // namespace

bool IsEastAsian(char32_t code) {
    const TRange* end = std::end(kEastAsian);
    const TRange* it = std::lower_bound(std::begin(kEastAsian), end, code,
                                        [](const TRange& r, char32_t c) { return r.Last < c; });
    return it != end && code >= it->First;
}

double AsianGapMm(const TDocument& doc, const TParaFormat& para, const TCharRec& before,
                  const TCharRec& after) {
    if (before.Kind != 0 || after.Kind != 0) return 0;
    const bool beforeAsian = IsEastAsian(before.Code);
    const bool afterAsian = IsEastAsian(after.Code);
    if (beforeAsian == afterAsian) return 0;
    if (!WantsGap(para, beforeAsian ? after.Code : before.Code)) return 0;
    const double points = std::max(FontSize(doc, before), FontSize(doc, after)) * kGapPerEm;
    // Whole printer pixels, as every measured width is.
    const int32_t dpi = doc.PrinterDPI > 0 ? doc.PrinterDPI : 600;
    return PixelsToMm(std::round(points * dpi / 72.0), dpi);
}

}  // namespace qm
