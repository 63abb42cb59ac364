// The six header and footer fields and the page selection that decides where they show.
#include "model/document.h"
#include "model/layout.h"

namespace qm {

namespace {

// Distance of a header's bottom edge from the page top, and of a footer's top edge from the
// page bottom.
constexpr double kHeaderFooterDepth = 24.5;
constexpr double kSideMargin = 25.0;
constexpr double kOuterMargin = 11.0;
constexpr uint8_t kShownNowhere = 99;
constexpr uint8_t kShownEverywhere = 1;

void SetHeaderFooter(TFieldRec& field, bool footer, uint8_t pageSel) {
    field.Left = field.Right = 0;
    field.Top = footer ? kHeaderFooterDepth : 0;
    field.Bottom = footer ? 0 : kHeaderFooterDepth;
    field.TopFromBottom = footer ? 1 : 0;
    field.BottomFromBottom = footer ? 1 : 0;
    field.RightFromRight = 1;
    field.MarginLeft = field.MarginRight = kSideMargin;
    field.MarginTop = footer ? 0 : kOuterMargin;
    field.MarginBottom = footer ? kOuterMargin : 0;
    field.Kind = footer ? kFieldFooter : kFieldHeader;
    field.PageNo = 0;
    field.BorderWidth = 0;
    field.BorderColor = 0;
    field.BackColor = 0xFFFFFF;
    field.Transparent = 1;
    field.PageSel = pageSel;
}

}  // namespace

void CreateHeaderFooter(TDocument& doc) {
    // First-page pair, even-page pair, odd-page pair; only the odd-page pair shows by default.
    const uint8_t selections[3] = {kShownNowhere, kShownNowhere, kShownEverywhere};
    for (uint8_t selection : selections) {
        for (bool footer : {false, true}) {
            doc.NewPage(true);
            SetHeaderFooter(doc.Fields.back(), footer, selection);
        }
    }
}

bool istOnAllPagesGedeckt(int code, int fieldPage, int page) {
    const bool odd = page % 2 != 0;
    switch (code) {
        case 0:
            return page == fieldPage;
        case 1:
            return true;
        case 2:
            return page > 0;
        case 3:
            return odd;
        case 4:
            return !odd;
        case 5:
            return odd && page > 0;
        case 6:
            return !odd && page > 0;
        default:
            return false;
    }
}

}  // namespace qm
