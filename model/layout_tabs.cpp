#include "model/layout_tabs.h"

#include <cmath>

namespace qm {

namespace {

constexpr int32_t kAlignCentre = 1;
constexpr int32_t kAlignRight = 2;
constexpr int32_t kAlignDecimal = 3;

bool IsText(const TCharRec& ch, uint8_t code) {
    return ch.Kind == 0 && ch.Code == code;
}

bool IsKeptEnd(const TCharRec& ch) {
    return ch.Kind == 0 && ch.Code >= 13 && ch.Code <= 15;
}

bool IsDigit(const TCharRec& ch) {
    return ch.Kind == 0 && ch.Code >= '0' && ch.Code <= '9';
}

bool IsSeparator(const TCharRec& ch) {
    return IsText(ch, '.') || IsText(ch, ',');
}

// The end of the text aligned at the stop after the tab at `tab`: the next tab, or a kept
// paragraph, line or page end (what follows it stands on another line).
size_t AlignedTextEnd(std::span<TCharRec* const> chars, size_t tab) {
    size_t end = tab + 1;
    while (end < chars.size() && !IsText(*chars[end], 9) && !IsKeptEnd(*chars[end]))
        ++end;
    return end;
}

// Where a decimal stop aligns its text: at the number's decimal separator, the last "." or ","
// of the number (its digits and separators from its first digit on, a prefix such as a currency
// sign before it); a number without one aligns its end; text without digits, its end.
size_t DecimalPoint(std::span<TCharRec* const> chars, size_t first, size_t end) {
    size_t i = first;
    while (i < end && !IsDigit(*chars[i]))
        ++i;
    if (i == end) return end;
    size_t point = 0;
    bool found = false;
    for (; i < end && (IsDigit(*chars[i]) || IsSeparator(*chars[i])); ++i) {
        if (!IsSeparator(*chars[i])) continue;
        point = i;
        found = true;
    }
    return found ? point : i;
}

// Width of the text aligned at a stop: up to the next tab, for a decimal stop up to its decimal
// point.
double AlignedTextWidth(std::span<TCharRec* const> chars, size_t tab, bool decimal) {
    size_t end = AlignedTextEnd(chars, tab);
    if (decimal) end = DecimalPoint(chars, tab + 1, end);
    double width = 0;
    for (size_t i = tab + 1; i < end; ++i)
        width += chars[i]->Width;
    return width;
}

}  // namespace

bool SetTabWidth(std::span<TCharRec* const> chars, size_t index, double x,
                 const TParaFormat& para) {
    TCharRec& tab = *chars[index];
    for (const TTabStop& stop : para.Tabs) {
        if (!(stop.Pos > x)) continue;
        double width = stop.Pos - x;
        tab.TabLeader = static_cast<uint8_t>(stop.Leader);
        if (stop.Align == kAlignCentre || stop.Align == kAlignRight ||
            stop.Align == kAlignDecimal) {
            const double aligned = AlignedTextWidth(chars, index, stop.Align == kAlignDecimal);
            width -= stop.Align == kAlignCentre ? aligned / 2 : aligned;
        }
        tab.Width = width < 0 ? 0 : width;
        return true;
    }
    // Quirk: a default interval of 0 or below would divide by zero or step backward; such a
    // paragraph gets the model's default interval.
    const double interval = para.DefaultTabWidth > 0 ? para.DefaultTabWidth : kDefaultTabWidth;
    const double stops = std::trunc(x / interval);
    tab.Width = (stops + 1) * interval - x;
    tab.TabLeader = 0;
    return false;
}

}  // namespace qm
