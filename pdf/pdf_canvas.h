// TPDFCanvas: writes one PDF 1.3 file in a single forward pass, used like a drawing surface in
// whole points with a top-down y axis (origin at the top-left corner of the page). It keeps the
// objects, the cross-reference table, the page streams and what each stream already holds; the
// fonts the text uses and the images placed are its two tables, which write their objects at the
// end of the document through the object writer the canvas is to them.
//
// Errors. Nothing the writer does throws across this interface. BeginDoc returns false when the
// destination cannot be created. A failure after that (a write error, a compression error, no
// memory) puts the writer into a failed state: later operations write nothing, EndDoc returns
// false, the unfinished file is removed and a file that was already at the destination is left
// as it was. Failed() and ErrorText() tell what happened.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"
#include "model/sinks.h"
#include "pdf/pdf_deflate.h"
#include "pdf/pdf_font_table.h"
#include "pdf/pdf_image_table.h"
#include "pdf/pdf_navigation.h"
#include "pdf/pdf_object_writer.h"
#include "pdf/pdf_output.h"
#include "raster/dib.h"
#include "raster/font.h"

namespace qm {

enum TPenStyle : uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};

// Only whether a brush is clear matters to the writer; the hatch styles fill solid.
enum TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

struct TPDFPen {
    TPenStyle Style = psSolid;
    int32_t Width = 1;   // whole points; 0 is the thinnest line a viewer can draw
    uint32_t Color = 0;  // 0x00BBGGRR

    bool operator==(const TPDFPen&) const = default;
};

struct TPDFBrush {
    TBrushStyle Style = bsSolid;
    uint32_t Color = 0xFFFFFF;

    bool operator==(const TPDFBrush&) const = default;
};

// The text font: face name, size in whole points, style bits (kStyleBold, kStyleItalic,
// kStyleUnderline, kStyleStrikeOut of raster/font.h), colour and character set.
struct TPDFFont {
    std::string Name = "Microsoft Sans Serif";
    double Size = 8;  // points; whole or half points as documents give them
    uint8_t Style = 0;
    uint32_t Color = 0;
    uint8_t Charset = 1;                   // DEFAULT_CHARSET
    uint8_t FamilyClass = kFamilyUnknown;  // what stands in for a face the machine lacks
};

// One entry of the cross-reference table; its index is the object number.
struct TXRefEntry {
    int64_t Offset = 0;
    int32_t Generation = 0;
    uint8_t IsFree = 0;
};

struct TPDFPageSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

class TPDFCanvas final : private TPDFObjectWriter {
  public:
    TPDFCanvas();
    // An unfinished document is abandoned, not completed: the temporary file is removed and
    // the destination is untouched. Call EndDoc to finish a document.
    ~TPDFCanvas();
    TPDFCanvas(const TPDFCanvas&) = delete;
    TPDFCanvas& operator=(const TPDFCanvas&) = delete;

    // --- the document ---
    // Opens fileName (through a temporary file beside it) and writes the start of the file.
    // False when the file cannot be created (nothing is left behind), and when this writer has
    // already begun a document: a writer writes one document.
    bool BeginDoc(const std::string& fileName);
    // The same, writing into a stream (standard output, a string stream).
    bool BeginDoc(std::ostream& stream);
    // Ends the current page and begins the next one.
    void NextPage();
    // Writes the rest of the file and publishes it. True when the document is complete; false
    // when it failed now or earlier, or when no document was open. A second call returns false
    // and does nothing.
    bool EndDoc();

    bool IsOpen() const { return isOpen_; }
    bool Failed() const override { return failed_; }
    const std::string& ErrorText() const { return errorText_; }

    // Embeds subsets of the simple fonts' faces too, not only of the Type 0 fonts' (before
    // BeginDoc or while drawing; it holds for the whole document).
    void SetEmbedFonts(bool embed) { fonts_.SetEmbedAll(embed); }

    // Receives "Not enough memory!" when an image cannot be copied (optional, not owned).
    void SetMessageSink(TMessageSink* messages) { messages_ = messages; }

    // --- drawing state (public, as on a screen canvas) ---
    TPDFPen Pen;
    TPDFBrush Brush;
    TPDFFont Font;
    int32_t PageWidth = 595;  // points; the size in force when a page ends is that page's size
    int32_t PageHeight = 841;

    // --- drawing operations; they do nothing unless a document is open ---
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // An 8-bit (Windows-1252) string with Font, the top-left corner of its cell at (x, y).
    void TextOut(int32_t x, int32_t y, std::string_view text);
    // The same with the origin xHundredths of a point right of x (0..99).
    void TextOut(int32_t x, int32_t xHundredths, int32_t y, std::string_view text);
    // Code points with Font, placed as the 8-bit string would be. What Windows-1252 holds is
    // written as those bytes in the simple font; any other code point as its glyph id in a
    // Type 0 font of the face ResolveGlyph names for it, each following the width of what
    // precedes it. A face whose program cannot be embedded shows '?' in the simple font
    // instead (counted in UnembeddedGlyphs).
    void TextOut(int32_t x, int32_t y, std::u32string_view text);
    void TextOut(int32_t x, int32_t xHundredths, int32_t y, std::u32string_view text);
    // A shaped cluster with Font's size, its pen starting at x and the top of Font's cell at y:
    // each glyph from the cluster's face, in that face's Type 0 font, placed at its offset from
    // the pen to a hundredth of a point. A face that cannot be embedded shows '?' per character
    // instead (counted in UnembeddedGlyphs). Returns the cluster's advance in points.
    double GlyphsOut(int32_t x, int32_t y, const TGlyphCluster& cluster);
    // Places the whole image into the box at (x, y) of width x height points. srcX and srcY
    // are not used; srcWidth and srcHeight only have to be non-zero. The writer shares the
    // image's pixels until EndDoc encodes them, so they must not change before then.
    void DrawImage(int32_t x, int32_t y, int32_t width, int32_t height, const TDib& image,
                   int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight);

    // --- navigation ---
    // A link over the area of the current page (whole points, top-down): to an address (UTF-8)
    // or, with an empty address, to a place that MarkPlace gives.
    void AddLink(int32_t left, int32_t top, int32_t right, int32_t bottom, std::string_view uri,
                 int32_t place);
    // Where a place lies on the current page; the first report holds.
    void MarkPlace(int32_t place, int32_t x, int32_t y);
    // The outline and the information dictionary (see TPDFNavigation).
    TPDFNavigation& Navigation() { return navigation_; }

    // Text measured in Font at 72 dots per inch, whole points; also without an open document.
    int32_t TextWidth(std::string_view text);
    int32_t TextHeight(std::string_view text);
    // Font's ascent: the baseline of its text lies that far below the cell's top.
    int32_t TextAscent();
    // Code points as TextOut writes them: each glyph measured in the face that draws it; the
    // height is Font's cell height, as for the 8-bit string.
    int32_t TextWidth(std::u32string_view text);
    int32_t TextHeight(std::u32string_view text);

    // Code points written as '?' because the face that has their glyph cannot be embedded.
    int32_t UnembeddedGlyphs() const { return unembeddedGlyphs_; }

    int32_t PenPosX() const { return penPosX_; }
    int32_t PenPosY() const { return penPosY_; }

    // --- inspection (tests) ---
    int32_t PageCount() const { return pageCount_; }
    const TPDFFontTable& Fonts() const { return fonts_; }
    const TPDFImageTable& Images() const { return images_; }

  private:
    bool Begin(std::unique_ptr<TPDFOutput> output);
    // Records the first error, drops the unfinished output and closes the document.
    void Fail(std::string_view text) noexcept override;
    void Abandon() noexcept;

    // Output primitives. While a page is open they append to the page buffer, otherwise to the
    // file staging buffer, which goes to the output in large blocks. WriteLine, WriteNumber and
    // EndLine write what the object writer's do, straight into the buffer: text writes them
    // for every character.
    std::string& Target() { return buffering_ ? pageBuffer_ : staged_; }
    void WriteRaw(std::string_view s) override { Target().append(s); }
    void WriteLine(std::string_view s) {
        Target().append(s);
        Target().push_back('\n');
    }
    void WriteNumber(int64_t value);
    void EndLine() { Target().push_back('\n'); }
    int64_t FilePosition() const { return written_ + static_cast<int64_t>(staged_.size()); }
    void FlushStaged(bool always);
    void ObjectFinished() override { FlushStaged(false); }

    int32_t BeginObject() override;
    void BeginContentStream();
    void EndContentStream();

    // The end of the document.
    void WriteDocumentEnd();
    void WritePagesObject(int32_t firstPageObject);
    void WritePageObjects(int32_t pagesObject, int32_t firstFontObject, int32_t firstImageObject);
    void WriteCatalog(int32_t pagesObject);
    void WriteXRefAndTrailer(int32_t catalogObject, int32_t infoObject);

    // Drawing state.
    void ApplyPen();
    void ApplyBrush();
    void SelectTextFont();
    void SelectTextFont(int32_t number);
    // Writes one code point Windows-1252 lacks; returns its width.
    int32_t GlyphOut(int32_t x, int32_t xHundredths, int32_t y, char32_t code);
    // The width of one code point Windows-1252 lacks, in the face that draws it.
    int32_t GlyphWidth(char32_t code);
    // The number 100ths / 100 in decimal.
    void WriteHundredths(int64_t hundredths);
    // A text origin's x: whole points, or with its hundredths when it has any.
    void WriteOrigin(int32_t x, int32_t xHundredths);
    void WriteRectanglePath(int32_t left, int32_t top, int32_t right, int32_t bottom);
    const TFont& MeasureFont();

    std::unique_ptr<TPDFOutput> output_;
    std::unique_ptr<TDeflater> deflater_;
    bool used_ = false;  // a writer writes one document
    std::string staged_;
    std::string pageBuffer_;
    std::string compressed_;
    int64_t written_ = 0;  // bytes handed to the output so far
    bool buffering_ = false;
    bool isOpen_ = false;
    bool failed_ = false;
    std::string errorText_;
    TMessageSink* messages_ = nullptr;

    std::vector<TXRefEntry> xref_;
    std::vector<TPDFPageSize> pageSizes_;
    TPDFFontTable fonts_;
    TPDFImageTable images_;
    TPDFNavigation navigation_;
    int32_t pageCount_ = 0;
    int64_t xrefOffset_ = 0;
    int64_t streamStart_ = 0;
    int64_t streamEnd_ = 0;

    // What the page's content stream already holds.
    int32_t curFontNumber_ = 0;
    double curFontSize_ = 0;
    bool fontSelected_ = false;
    bool fillColorWritten_ = false;
    bool penWritten_ = false;
    bool brushClear_ = false;
    bool penClear_ = false;
    TPDFPen lastPen_;
    TPDFBrush lastBrush_;
    // The fill colour the page's stream really holds (black when a page begins). A clear brush
    // writes nothing, so this can differ from lastBrush_.Color; text compares against this.
    uint32_t streamFill_ = 0;
    // The text colour last written, as its "r g b" numbers: text writes it before every run.
    uint32_t colorTextOf_ = 0;
    std::string colorText_;

    int32_t penPosX_ = 0;
    int32_t penPosY_ = 0;

    // The measuring surface: the font last measured and the key it was created for.
    TFont measureFont_;
    TPDFFont measureKey_;
    bool measureValid_ = false;
    int32_t measureHeight_ = 0;  // the cell height of measureFont_
    int32_t measureAscent_ = 0;  // and its ascent
    int32_t unembeddedGlyphs_ = 0;
};

// Text as the contents of a PDF literal string (PDF Reference 1.3, 3.2.3).
std::string EscapePDFString(std::string_view text);
void AppendEscapedPDFString(std::string& out, std::string_view text);

// The line of dash pattern of a pen style; empty for psClear.
std::string_view DashPatternLine(TPenStyle style);

}  // namespace qm
