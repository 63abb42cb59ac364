// The drawing interface through which a laid-out page is drawn. The preview's raster canvas and
// the PDF writer each implement it; a recording surface makes page-drawing tests easy.
// Coordinates are whole device units (screen pixels or PDF points), y growing downward.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/records.h"
#include "raster/dib.h"

namespace qm {

// left, top - right, bottom; right and bottom are exclusive.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool operator==(const TRect&) const = default;
};

// How a run of text is decorated: the size in points, 0 none / 1 single / 2 double underline,
// the text and shadow colours and whether a shadow copy is drawn.
struct TTextRunStyle {
    double Size = 12.0;
    int UnderlineKind = 0;
    int32_t Color = 0;
    int32_t ShadowColor = 0x808080;
    uint8_t Shadow = 0;
    // How far right of x the run's exact place lies, in hundredths of a unit (0..99): a surface
    // that places text finer than its units (the PDF) adds it; the others truncate it away.
    int32_t XHundredths = 0;

    bool operator==(const TTextRunStyle&) const = default;
};

// Which fills a surface may limit or adjust: the preview keeps field contents out of the
// rightmost 16 pixels of its page bitmap, while paper fills reach the full width. Rules (cell
// borders) must cover their rectangle exactly, however thin it is.
enum class TFillKind { Paper, Content, Rule };

class TPageSurface {
  public:
    virtual ~TPageSurface() = default;

    // A solid fill of r in colour (0x00BBGGRR).
    virtual void FillRect(const TRect& r, int32_t color, TFillKind kind) = 0;
    // A frame of r with the given pen, nothing filled.
    virtual void FrameRect(const TRect& r, int32_t color, int32_t penWidth) = 0;
    // A line from (x0, y0) to (x1, y1), the end point left out.
    virtual void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color,
                      int32_t penWidth) = 0;
    // Restricts text and pictures to r, or lifts the restriction (nullptr).
    virtual void SetClip(const TRect* r) = 0;
    // Selects the font for the following text: face, size in points (already reduced for
    // small capitals and super/subscript), style bits, character set and the face's family
    // class (kFamilyRoman and so on: what stands in for a face the machine lacks).
    virtual void SelectFont(const std::string& face, double size, uint8_t style, uint8_t charset,
                            uint8_t familyClass) = 0;
    // Text is a run of Unicode code points.
    virtual int32_t TextWidth(std::u32string_view text) = 0;
    virtual int32_t TextHeight(std::u32string_view text) = 0;
    // Draws a run of text with its top-left corner at (x, y), transparent background.
    virtual void DrawTextRun(int32_t x, int32_t y, std::u32string_view text,
                             const TTextRunStyle& style) = 0;
    // Draws a shaped cluster with its pen starting at x and its cell's top at y, as
    // DrawTextRun draws text: its glyphs from the cluster's face at the selected font's size.
    virtual void DrawGlyphCluster(int32_t x, int32_t y, const TGlyphCluster& cluster,
                                  const TTextRunStyle& style) = 0;
    // Draws the whole picture scaled into the box at (x, y) of width x height.
    virtual void DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                             const TDib& picture) = 0;
    // The character cell r belongs to link `link` (an index into TDocument::Links), and the
    // place `anchor` (TDocument::Anchors) starts at (x, y). Surfaces that offer navigation
    // (the PDF's links and outline) override them.
    virtual void MarkLink(const TRect& r, int32_t link) { (void)r, (void)link; }
    virtual void MarkAnchor(int32_t x, int32_t y, int32_t anchor) { (void)x, (void)y, (void)anchor; }
    // Called before each line of a field with the page being drawn, the page count, the line's
    // index and the field's line count. Surfaces that report progress override it.
    virtual void BeforeLine(int32_t page, int32_t pages, int32_t line, int32_t lineCount) {
        (void)page, (void)pages, (void)line, (void)lineCount;
    }
};

}  // namespace qm
