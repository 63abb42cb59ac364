#include "word/page_geometry.h"

namespace qm {

namespace {

// Word's page sides lie between 0.1 and 22 inches; a section asking for more (or for nothing)
// is damaged and keeps the default size. Quirk: the layout could not place text on a page of
// width 0.
constexpr uint32_t kMinPageTwips = 144;
constexpr uint32_t kMaxPageTwips = 31680;
// A header or footer distance that leaves less than 1 mm to the body's margin is replaced by
// the margin less 18/35 inch.
constexpr double kHeaderGapMM = 1.0;
constexpr double kHeaderFallbackMM = kMmPerInch * 18 / 35;
constexpr uint8_t kUnused = 99;

uint32_t SaneSide(uint32_t twips, uint32_t fallback) {
    return twips >= kMinPageTwips && twips <= kMaxPageTwips ? twips : fallback;
}

void PlaceHeader(TFieldRec& header, const TFieldRec& body, double top) {
    header.MarginTop = top;
    header.Bottom = body.MarginTop - 0.5;
    header.MarginLeft = body.MarginLeft;
    header.MarginRight = body.MarginRight;
}

void PlaceFooter(TFieldRec& footer, const TFieldRec& body, double bottom) {
    footer.MarginBottom = bottom;
    footer.Top = body.MarginBottom - 0.5;  // measured from the page bottom
    footer.MarginLeft = body.MarginLeft;
    footer.MarginRight = body.MarginRight;
}

// PageSel of fields 1 to 6 by (title page, facing pages); 99 = not used.
void SelectHeaderFooterPages(TDocument& doc, bool titlePage, bool facing) {
    static constexpr uint8_t kSelection[2][2][3] = {
        {{kUnused, kUnused, 1}, {kUnused, 3, 4}},
        {{0, kUnused, 2}, {0, 5, 6}},
    };
    const uint8_t* sel = kSelection[titlePage][facing];
    for (int32_t field = 1; field <= 6 && field < doc.FieldCount(); ++field) {
        doc.Fields[field].PageSel = sel[(field - 1) / 2];
    }
}

}  // namespace

void WritePageGeometry(TDocument& doc, const TSep& sep, bool facingPages) {
    doc.PageWidthMM = TwipsToMm(SaneSide(sep.XaPage, TSep{}.XaPage));
    doc.PageHeightMM = TwipsToMm(SaneSide(sep.YaPage, TSep{}.YaPage));
    if (doc.FieldCount() > 0) {
        TFieldRec& body = doc.Fields[0];
        body.MarginLeft = TwipsToMm(sep.DxaLeft);
        body.MarginTop = TwipsToMm(sep.DyaTop);
        body.MarginRight = TwipsToMm(sep.DxaRight);
        body.MarginBottom = TwipsToMm(sep.DyaBottom);
        double top = TwipsToMm(sep.DyaHdrTop);
        if (top + kHeaderGapMM > body.MarginTop) top = body.MarginTop - kHeaderFallbackMM;
        double bottom = TwipsToMm(sep.DyaHdrBottom);
        if (bottom + kHeaderGapMM > body.MarginBottom)
            bottom = body.MarginBottom - kHeaderFallbackMM;
        for (int32_t field = 1; field <= 6 && field < doc.FieldCount(); ++field) {
            if (field % 2 == 1) {
                PlaceHeader(doc.Fields[field], doc.Fields[0], top);
            } else {
                PlaceFooter(doc.Fields[field], doc.Fields[0], bottom);
            }
        }
    }
    doc.SetPrinterProps();
    SelectHeaderFooterPages(doc, sep.FTitlePage != 0, facingPages);
}

}  // namespace qm
