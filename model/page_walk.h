// The one walk over a laid-out page: fields, lines, table cells, list labels and characters,
// drawn onto a TPageSurface. The preview and the PDF output both use it; they differ only in
// the geometry below and in what their surface does with each call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/document.h"
#include "model/page_surface.h"

namespace qm {

struct TWalkGeometry {
    double Dpi = 96.0;  // device units per inch: the screen's resolution, or 72 for PDF
    double Zoom = 100.0;
    int32_t OffX = 0;  // the paper's top-left corner on the surface
    int32_t OffY = 0;
    int32_t EdgeX = 0;  // the preview draws fields 1 pixel right and 2 down inside its frame
    int32_t EdgeY = 0;
    int32_t PageW = 0;  // the paper in device units
    int32_t PageH = 0;
    // The preview's aids: margin guide lines, light-grey guides for cell borders that are off,
    // and clipping of text at a field's bottom margin.
    bool Guides = false;
    // Passes over a field's table rows before it is drawn, each scaling every row's cell
    // widths to its row width once more, as drawing the field does on the way (see
    // TPageWalk::PlaceCell). The preview takes one: it shows the tables as the command line
    // has always drawn them after the PDF, whose drawing had scaled them once. That moves a
    // width by a rounding step; but where a page break cuts a row, the cut row's cells share
    // their scale with the start of the next row, and the preview places those cells apart
    // from the PDF.
    int32_t RowScalings = 0;
};

// The preview's geometry at a screen resolution (paper corner at 16, 16 before centring), with
// one scaling of the table rows.
TWalkGeometry PreviewGeometry(const TDocument& doc, double screenDpi);
// The PDF geometry: 72 units per inch, no offsets, no guides.
TWalkGeometry PdfGeometry(const TDocument& doc);

// Truncation toward zero, clamped to +-2^26 device units (NaN gives 0).
int32_t TruncUnits(double value);

class TPageWalk {
  public:
    // The walk only reads the document: drawing a page twice draws it the same way.
    TPageWalk(const TDocument& doc, TPageSurface& surface, const TWalkGeometry& geometry);

    // Draws the fields of page `page`: its page body, then the headers and footers shown on it.
    void DrawPageFields(int32_t page);
    void DrawField(int32_t fieldIndex);

  private:
    struct TFieldBox {
        int32_t Left, Top, Right, Bottom;
        double InnerWidth;  // mm
    };
    struct TLineBox;

    TFieldBox FieldRectangle(const TFieldRec& field) const;
    void DrawFieldFrame(const TFieldRec& field, const TFieldBox& box);
    void DrawLine(int32_t fieldIndex, int32_t lineIndex, const TFieldBox& box);
    void PlaceCell(const TFieldRec& field, int32_t lineIndex, double& a, TLineBox& lb);
    void ScaleRows(const TFieldRec& field, double innerWidth);
    bool StartsParagraph(int32_t fieldIndex, int32_t lineIndex) const;
    void DrawCellDesign(const TLineRec& line, const TLineBox& lb, const TFieldBox& box);
    void DrawListLabel(const TLineRec& line, const TLineBox& lb, const TFieldBox& box);
    // The paragraph's borders around the line: its sides, and its top and bottom where the line
    // starts or ends the paragraph, between the indents (right: the line's right edge in mm).
    void DrawParagraphBorders(const TLineRec& line, bool paraStart, const TLineBox& lb,
                              const TFieldBox& box, double right, double firstIndent);
    // The line's characters from left to right: as stored, or reordered where the line holds
    // right-to-left text (see VisualOrder).
    void DrawChars(const TLineRec& line, const TLineBox& lb, const TFieldBox& box);
    void DrawChar(const TCharRec& ch, bool countedSpace, const TLineBox& lb, const TFieldBox& box);
    void SelectCharFont(const TFontRec& font, uint8_t style, uint16_t attrib);
    int32_t T(double mm) const { return TruncUnits(mm / mmPerUnit_); }
    int32_t R(double mm) const;

    const TDocument& doc_;
    TPageSurface& surface_;
    TWalkGeometry geo_;
    double mmPerUnit_;
    double unitsPerPoint_;
    int32_t page_ = 0;
    int32_t pages_ = 1;
    // The font last selected: face, size, style, charset. The face starts empty so the first
    // character always selects its own font.
    std::string fontFace_;
    double fontSize_ = 0;
    uint8_t fontStyle_ = 0;
    uint8_t fontCharset_ = 0;
    uint8_t fontFamilyClass_ = 0;
    TTextRunStyle runStyle_;
    // The font entry, style and effects the last character selected, so that a run of
    // characters in one format selects it once; -1 after any other selection.
    int32_t charFont_ = -1;
    uint8_t charStyle_ = 0;
    uint16_t charAttrib_ = 0;
    double q_ = 0;  // running vertical position in the field, mm
    double w_ = 0;  // running horizontal position in the line, mm
    // The cell widths of the field being drawn, one per line, as the next cell sees them:
    // every cell scales the widths of its row to millimetres of its row width again, and the
    // cells after it take their shares of those (see PlaceCell).
    std::vector<double> cellWidths_;
};

TTextRunStyle MakeTextRunStyle(uint16_t attrib, int32_t color, double size, int32_t shadowColor);

}  // namespace qm
