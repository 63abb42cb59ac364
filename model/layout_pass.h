// Working state of one layout pass, shared by its steps and discarded at its end: the page size
// as the view sees it, the font that measures empty lines, and the list-number counters.
#pragma once

#include <cstdint>
#include <vector>

#include "model/document.h"

namespace qm {

// The page size in mm as the layout uses it: the printer-pixel page scaled to the view's
// resolution and truncated to whole screen pixels, so slightly less than PageWidthMM.
struct TLayoutPage {
    double WidthMm = 0;
    double HeightMm = 0;
};

TLayoutPage LayoutPageSize(const TDocument& doc);

// The width of a field's text area in mm (the page width minus its edges and margins).
double FieldTextWidth(const TFieldRec& field, const TLayoutPage& page);

// The height of a field in mm before its margins are taken off.
double FieldAvailableHeight(const TFieldRec& field, const TLayoutPage& page);

// The font of the last character that fitted on a line, used for the height of an empty line:
// the height of " " in that font at the printer resolution. It starts as the document's
// default character format.
class TMeasuringFont {
  public:
    explicit TMeasuringFont(const TDocument& doc) : doc_(doc) {}

    // A character of this font entry fitted on its line. Indexes outside the table are ignored.
    void Use(int32_t fontIndex) {
        if (fontIndex >= 0 && fontIndex < doc_.FontCount()) current_ = fontIndex;
    }
    double BlankHeightMm();
    // The same for a given font entry (an empty paragraph's mark), without making it current.
    double BlankHeightMm(int32_t fontIndex);

  private:
    double Measure(const TFontRec& font) const;

    const TDocument& doc_;
    int32_t current_ = -1;  // -1: the default character format
    double defaultHeight_ = -1;
    std::vector<double> heights_;  // per font index, -1 until measured
};

// List-number counters, one per cell index; a counter that comes into existence starts at 1.
class TListCounters {
  public:
    int32_t& operator[](int32_t cellIndex);

  private:
    std::vector<int32_t> counters_;
};

struct TLayoutPass {
    explicit TLayoutPass(TDocument& d) : Doc(d), Page(LayoutPageSize(d)), Font(d) {}

    TDocument& Doc;
    TLayoutPage Page;
    TMeasuringFont Font;
    TListCounters Counters;
    int64_t TotalLines = 0;  // the lines of all fields, kept up to date as fields are broken
    bool Limited = false;    // kMaxPages or kMaxLines was reached
};

// Arrays holding all the lines of a long text live through a pass only to be emptied again.
// The two largest given back are kept (per thread, emptied) for the next pass, so that a
// relayout reuses their memory instead of faulting in fresh pages every time.
std::vector<TLineRec> TakeLineArray(size_t capacity);
void ReturnLineArray(std::vector<TLineRec>&& lines);

// Steps of the pass, in their order.
void MeasureNewCharacters(TDocument& doc);
void SanitizeChainLinks(TDocument& doc);
void JoinPageChains(TDocument& doc);
void NormalizeRows(std::vector<TLineRec>& lines);

// The character arrays of the lines joined into a line, in text order behind its own (a kept
// end made from a joined line's end is an array of one character).
using TJoinedPieces = std::vector<std::vector<TCharRec>>;

// Joins dirty soft lines and table continuation rows back into the lines above them. The
// joined characters are not copied together: the result holds, for every line of the field,
// the pieces that follow its own characters (empty when nothing was joined at all).
std::vector<TJoinedPieces> JoinSoftLines(TDocument& doc, int32_t fieldIndex);
void BreakFieldLines(TLayoutPass& pass, int32_t fieldIndex);
void PaginateFields(TLayoutPass& pass);
void DropEmptyPages(TDocument& doc);

}  // namespace qm
