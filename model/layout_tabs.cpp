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

// Width of the text aligned at a stop: up to the next tab, for a decimal stop up to the
// decimal comma first. A kept paragraph, line or page end closes the text too: what follows
// it stands on another line.
double AlignedTextWidth(std::span<TCharRec* const> chars, size_t tab, bool decimal) {
    double width = 0;
    for (size_t i = tab + 1; i < chars.size(); ++i) {
        const TCharRec& ch = *chars[i];
        if (IsText(ch, 9) || IsKeptEnd(ch) || (decimal && IsText(ch, ','))) break;
        width += ch.Width;
    }
    return width;
}

}  // namespace

void SetTabWidth(std::span<TCharRec* const> chars, size_t index, double x,
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
        return;
    }
    // Quirk: a default interval of 0 or below would divide by zero or step backward; such a
    // paragraph gets the model's default interval.
    const double interval = para.DefaultTabWidth > 0 ? para.DefaultTabWidth : kDefaultTabWidth;
    const double stops = std::trunc(x / interval);
    tab.Width = (stops + 1) * interval - x;
    tab.TabLeader = 0;
}

}  // namespace qm
