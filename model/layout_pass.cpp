#include "model/layout_pass.h"

#include <cmath>

#include "model/layout.h"
#include "model/row_widths.h"

namespace qm {

namespace {

// The list counters are indexed by a cell index, which is below the number of lines of its
// field; anything beyond this is damaged data and shares the last counter.
constexpr int32_t kMaxCounters = 1 << 20;

// Arrays shorter than this are cheap to allocate; arrays beyond the byte limit are not kept.
constexpr size_t kMinKeptLines = 4096;
constexpr size_t kMaxKeptBytes = size_t{512} << 20;

thread_local std::vector<TLineRec> spareLines[2];

}  // namespace

std::vector<TLineRec> TakeLineArray(size_t capacity) {
    std::vector<TLineRec> lines;
    if (capacity >= kMinKeptLines) {
        // The smaller spare that is large enough, else the larger one (grown).
        const bool firstSmaller = spareLines[0].capacity() <= spareLines[1].capacity();
        std::vector<TLineRec>& smaller = spareLines[firstSmaller ? 0 : 1];
        std::vector<TLineRec>& larger = spareLines[firstSmaller ? 1 : 0];
        lines = std::move(smaller.capacity() >= capacity ? smaller : larger);
    }
    lines.reserve(capacity);
    return lines;
}

void ReturnLineArray(std::vector<TLineRec>&& lines) {
    const size_t capacity = lines.capacity();
    if (capacity < kMinKeptLines || capacity > kMaxKeptBytes / sizeof(TLineRec)) return;
    std::vector<TLineRec>& smaller =
        spareLines[0].capacity() <= spareLines[1].capacity() ? spareLines[0] : spareLines[1];
    if (smaller.capacity() >= capacity) return;
    lines.clear();
    smaller = std::move(lines);
}

TLayoutPage LayoutPageSize(const TDocument& doc) {
    const double screen = doc.ScreenDPI > 0 ? doc.ScreenDPI : 96;
    const double printer = doc.PrinterDPI > 0 ? doc.PrinterDPI : 600;
    // The paper's own width, so that text that fits the margins in the document fits on the page
    // (the page walk places fields on the same width). The height keeps the view's whole pixels.
    const double heightScr = std::trunc(doc.PageHeightPx * screen / printer);
    return {doc.PageWidthMM, heightScr / screen * kMmPerInch};
}

double FieldTextWidth(const TFieldRec& field, const TLayoutPage& page) {
    if (field.RightFromRight) {
        return page.WidthMm - field.Right - field.Left - field.MarginLeft - field.MarginRight;
    }
    return field.Right - field.Left - field.MarginLeft - field.MarginRight;
}

double FieldAvailableHeight(const TFieldRec& field, const TLayoutPage& page) {
    if (field.BottomFromBottom && field.TopFromBottom) return field.Top - field.Bottom;
    if (field.BottomFromBottom) return page.HeightMm - field.Bottom - field.Top;
    return field.Bottom - field.Top;
}

double TMeasuringFont::Measure(const TFontRec& font) const {
    const int32_t dpi = doc_.PrinterDPI > 0 ? doc_.PrinterDPI : 600;
    const TFont measuring =
        selfont(font.Name, dpi, 100.0, font.Size, font.Style, font.Charset, font.FamilyClass);
    // As a character of the font is measured: its cell, and its leading kept as a float.
    const auto leading = static_cast<float>(PixelsToMm(FontMetrics(measuring).Leading, dpi));
    return PixelsToMm(TextHeight(measuring, U" "), dpi) + leading;
}

double TMeasuringFont::BlankHeightMm() {
    return BlankHeightMm(current_);
}

double TMeasuringFont::BlankHeightMm(int32_t fontIndex) {
    if (fontIndex < 0 || fontIndex >= doc_.FontCount()) {
        if (defaultHeight_ < 0) defaultHeight_ = Measure(doc_.DefaultFontRec());
        return defaultHeight_;
    }
    if (heights_.size() <= static_cast<size_t>(fontIndex)) heights_.resize(fontIndex + 1, -1.0);
    double& height = heights_[fontIndex];
    if (height < 0) height = Measure(doc_.Fonts[fontIndex]);
    return height;
}

int32_t& TListCounters::operator[](int32_t cellIndex) {
    if (cellIndex < 0) cellIndex = 0;
    if (cellIndex >= kMaxCounters) cellIndex = kMaxCounters - 1;
    if (counters_.size() <= static_cast<size_t>(cellIndex)) counters_.resize(cellIndex + 1, 1);
    return counters_[cellIndex];
}

namespace {

// Breaks the dirty lines and paginates; returns whether a limit was reached.
bool BreakAndPaginate(TDocument& doc) {
    TLayoutPass pass(doc);
    SanitizeChainLinks(doc);
    JoinPageChains(doc);
    for (const TFieldRec& field : doc.Fields)
        pass.TotalLines += field.LineCount();
    for (int32_t f = 0; f < doc.FieldCount(); ++f) {
        if (doc.Fields[f].Kind <= kFieldFooter) BreakFieldLines(pass, f);
    }
    PaginateFields(pass);
    DropEmptyPages(doc);
    doc.ClearAllDirtyFlags();
    return pass.Limited;
}

}  // namespace

void MakeSoftEnters(TDocument& doc) {
    MeasureNewCharacters(doc);
    bool limited = BreakAndPaginate(doc);
    if (doc.RowsUnsettled) {
        // The rows are settled where the lines have been placed in their fields (a field's
        // width and a line's columns decide the row's width); the lines break again for the
        // settled widths only when a value moved.
        doc.RowsUnsettled = false;
        if (SettleTableRows(doc)) {
            doc.SetAllDirtyFlags();
            limited = BreakAndPaginate(doc);
        }
    }
    doc.LayoutLimited = limited;
}

}  // namespace qm
