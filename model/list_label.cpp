#include "model/list_label.h"

#include <algorithm>
#include <cmath>

#include "model/layout_tabs.h"

namespace qm {

namespace {

constexpr uint8_t kFollowTab = 0;
constexpr uint8_t kFollowSpace = 1;
constexpr uint8_t kAlignCentre = 1;
constexpr uint8_t kAlignRight = 2;

double TabStopAfter(const TParaFormat& para, double x) {
    double stop = INFINITY;
    for (const TTabStop& tab : para.Tabs) {
        if (tab.Pos > x) {
            stop = tab.Pos;
            break;
        }
    }
    if (para.LeftIndent > x) stop = std::min(stop, para.LeftIndent);
    if (std::isfinite(stop)) return stop;
    const double interval = para.DefaultTabWidth > 0 ? para.DefaultTabWidth : kDefaultTabWidth;
    return (std::trunc(x / interval) + 1) * interval;
}

}  // namespace

void PlaceListLabel(TDocument& doc, TParaFormat& para, int32_t fallbackFont) {
    const int32_t font = para.ListFont >= 0 ? para.ListFont : fallbackFont;
    const double width = doc.TextWidthMm(font, para.ListLabel);
    para.ListShift = para.ListAlign == kAlignCentre  ? -width / 2
                     : para.ListAlign == kAlignRight ? -width
                                                     : 0;
    const double start = para.LeftIndent + para.FirstLineIndent;
    const double end = start + para.ListShift + width;
    if (para.ListFollow == kFollowTab) {
        para.ListIndent = TabStopAfter(para, end) - start;
    } else if (para.ListFollow == kFollowSpace) {
        para.ListIndent = end + doc.TextWidthMm(font, U" ") - start;
    } else {
        para.ListIndent = end - start;
    }
}

}  // namespace qm
