// The document model: the fields with their lines and characters, the font table, the
// pictures list, the page size, the measuring resolution and the cursor. Import writes into it
// through the cursor; layout measures its characters, settles its table rows and rewrites its
// line breaks and page chain; the renderers only read it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/navigation.h"
#include "model/records.h"
#include "raster/font.h"

namespace qm {

class TDocument {
  public:
    // Creates the start-up model: A4, the default character format, one empty page body
    // (field 0), the six header and footer fields, laid out once.
    TDocument();

    // Empties the model and sets it up as at creation (page size A4 again).
    void Reset();

    // --- the document ---
    std::vector<TFieldRec> Fields;
    int32_t CurField = 0;
    int32_t CurLine = 0;
    int32_t CurChar = 0;
    std::vector<TFontRec> Fonts;
    std::vector<TBildRec> BilderListe;
    // The glyphs of shaped complex-script text, referred to by TCharRec::Cluster.
    std::vector<TGlyphCluster> GlyphClusters;
    // Links, bookmarks and headings, and the descriptive information (see navigation.h).
    std::vector<TLinkRec> Links;
    std::vector<TAnchorRec> Anchors;
    TDocumentInfo Info;
    TParaFormat PendingPara;  // layout scratch: the format carried from a paragraph end

    // The default character format that NewChar gives every new character.
    std::string DefFontName = "Times New Roman";
    double DefFontSize = 12.0;
    int32_t DefColor = 0;
    uint8_t DefStyle = 0;
    uint8_t DefCharset = 1;
    int32_t DefBackColor = 0xFFFFFF;
    int32_t DefColor2 = 0x808080;
    int32_t DefColor3 = 0x00FFFF;
    uint8_t DefTransparent = 1;
    uint16_t DefAttrib = 0;

    double PageWidthMM = 210.0;
    double PageHeightMM = 297.0;
    int32_t PrinterDPI = 600;  // no printer service here: text is measured at 600 dpi
    // The view's horizontal resolution; layout derives its page size in mm from it.
    int32_t ScreenDPI = 96;
    int32_t PageWidthPx = 0;
    int32_t PageHeightPx = 0;
    double Zoom = 100.0;
    // Set by Reset: the table rows the next import writes hold their widths as read (an indent
    // that may not fit its column, a right gap that may encode the table's width, cell widths
    // in any unit). The next layout settles them once, so that every later one and every
    // drawing finds millimetres of the page, and clears it.
    bool RowsUnsettled = false;
    // Whether the last layout stopped at kMaxPages or kMaxLines (see MakeSoftEnters).
    bool LayoutLimited = false;

    // The view's hook, called at the end of CompleteRefresh (restart the repaint timer and
    // scroll the cursor into view). Empty without a view.
    std::function<void()> RefreshHook;

    int32_t FieldCount() const { return static_cast<int32_t>(Fields.size()); }
    int32_t FontCount() const { return static_cast<int32_t>(Fonts.size()); }
    int32_t BildCount() const { return static_cast<int32_t>(BilderListe.size()); }

    // --- operations ---
    static void InitNewLine(std::vector<TLineRec>& lines, int32_t index);
    void InsertNewLine(int32_t field, int32_t line);
    // Inserts a character at the cursor (a new line when CurLine == LineCount) and returns it,
    // or nullptr when the cursor names no line or CurChar lies outside 0..CharCount. The cursor
    // does not move. The pointer is valid until the next change of that line.
    TCharRec* NewChar();
    int32_t GetNewFontIndex(const TFontRec& font);
    TFontRec DefaultFontRec() const;
    void NewField();
    void NewPage(bool withLine);
    static void freezeichen(TCharRec& ch);
    void FreeFields();
    void FreeBilderListe();
    void SetAllDirtyFlags();
    void ClearAllDirtyFlags();
    // Marks everything dirty, lays out (MakeSoftEnters) and calls the view's hook. The layout
    // it leaves is final: the page walk only reads it.
    void CompleteRefresh();
    // Moves (field, line) along the flow chain until it names an existing line, if it can.
    void GoToLine(int32_t& field, int32_t& line) const;
    int32_t GetAnzPages() const;

    // Measuring: PrinterDPI and the page size in printer pixels.
    void SetPrinterProps();
    // Measures the character as it is shown (capitals for small and all caps) with its
    // font entry into its Width and Height. The layout measures every text character whose
    // Height is still 0 before it breaks lines.
    void RenderChar(TCharRec& ch);
    // The width in mm of text drawn in a font entry as RenderChar measures it, 0 without one.
    double TextWidthMm(int32_t fontIndex, std::u32string_view text);
    // Measures a run of text characters of one font entry that need shaping (see NeedsShaping)
    // by shaping it: each cluster's first character gets the cluster's glyphs and advance, the
    // others of the cluster no width. Falls back to RenderChar when the face cannot shape.
    void ShapeChars(std::span<TCharRec> run);
    // The size text is drawn at: the font's size, or for small capitals, superscript and
    // subscript Round(Size * factor) (at least 1).
    static double ReducedSize(const TFontRec& font);

  private:
    // Fonts of each font-table entry at PrinterDPI, full and reduced size, with the widths of
    // single characters measured so far: code points below 256 in an array (-1 = not yet), the
    // few others a document uses in a map.
    struct TMeasureFonts {
        TFont Full;
        TFont Reduced;
        int32_t Height = -1;
        int32_t Leading = 0;
        std::array<int32_t, 256> Widths;
        std::unordered_map<char32_t, int32_t> OtherWidths;
        int32_t WidthOf(char32_t code);
    };
    TMeasureFonts& MeasureFontsFor(int32_t fontIndex);
    bool IsDefaultFormat(const TFontRec& font) const;
    int32_t DefaultFontIndex();
    int32_t defaultFontIndex_ = -1;  // the entry of the default format last found
    std::vector<TMeasureFonts> measureCache_;
    int32_t measureCacheDpi_ = 0;
};

// Upper case of a to z only.
inline char32_t UpCase(char32_t code) {
    return code >= 'a' && code <= 'z' ? code - 32 : code;
}

}  // namespace qm
