#include "model/list_label.h"

#include <algorithm>
#include <cmath>

#include "model/layout_tabs.h"

namespace qm {

namespace {

constexpr uint8_t kFollowTab = 0;
constexpr uint8_t kFollowSpace = 1;

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

double ListLabelAdvance(TDocument& doc, const TParaFormat& para, int32_t fallbackFont) {
    const int32_t font = para.ListFont >= 0 ? para.ListFont : fallbackFont;
    double width = doc.TextWidthMm(font, para.ListLabel);
    const double start = para.LeftIndent + para.FirstLineIndent;
    if (para.ListFollow == kFollowTab) return TabStopAfter(para, start + width) - start;
    if (para.ListFollow == kFollowSpace) width += doc.TextWidthMm(font, U" ");
    return width;
}

}  // namespace qm
