// The page walk's surface for PDF output: each drawing call becomes the writer's operations,
// with the PDF's own text decoration (underline below the cell, strike-out as a line).
#pragma once

#include "model/document.h"
#include "model/page_surface.h"
#include "model/sinks.h"
#include "pdf/pdf_canvas.h"

namespace qm {

class TPDFPageSurface : public TPageSurface {
  public:
    // doc: whose links and places the walk reports (optional, not owned).
    TPDFPageSurface(TPDFCanvas& writer, TProgressSink* progress, const TDocument* doc = nullptr)
        : writer_(writer), progress_(progress), doc_(doc) {}

    void FillRect(const TRect& r, int32_t color, TFillKind kind) override;
    void FrameRect(const TRect& r, int32_t color, int32_t penWidth) override;
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color,
              int32_t penWidth) override;
    void SetClip(const TRect*) override {}  // no clipping in PDF: text is written in full
    void SelectFont(const std::string& face, double size, uint8_t style, uint8_t charset,
                    uint8_t familyClass) override;
    // Windows-1252 text in the simple fonts, every other code point in the face that has it.
    int32_t TextWidth(std::u32string_view text) override { return writer_.TextWidth(text); }
    int32_t TextHeight(std::u32string_view text) override { return writer_.TextHeight(text); }
    void DrawTextRun(int32_t x, int32_t y, std::u32string_view text,
                     const TTextRunStyle& style) override;
    void DrawGlyphCluster(int32_t x, int32_t y, const TGlyphCluster& cluster,
                          const TTextRunStyle& style) override;
    void DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                     const TDib& picture) override;
    void BeforeLine(int32_t page, int32_t pages, int32_t line, int32_t lineCount) override;
    // Links become the writer's link areas, places its destinations.
    void MarkLink(const TRect& r, int32_t link) override;
    void MarkAnchor(int32_t x, int32_t y, int32_t anchor) override;

  private:
    // Underline and strike-out of text w wide whose cell is h high at (x, y).
    void Decorate(int32_t x, int32_t y, int32_t w, int32_t h, const TTextRunStyle& style);

    TPDFCanvas& writer_;
    TProgressSink* progress_;
    const TDocument* doc_;
};

// Draws page `page` (0-based) of the laid-out document into the writer's open page: sets the
// page size (paper + 20 points) and walks the page's fields.
void DrawPagesPDF(const TDocument& doc, TPDFCanvas& writer, int32_t page, TProgressSink* progress);

// Hands the writer what the document says of itself: the outline of its headings and its
// information (with the date SOURCE_DATE_EPOCH gives, if any). Call once, before EndDoc.
void DescribePDFDocument(const TDocument& doc, TPDFCanvas& writer);

}  // namespace qm
