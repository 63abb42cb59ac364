// The preview's drawing surface: a 32-bit pixel buffer (0x00RRGGBB) with the Windows pixel
// rules the preview relies on: fills exclude their right and bottom edges, lines leave out
// their end pixel, text is drawn with its cell's top-left corner at the pen position over a
// transparent background, and a rectangular clip region restricts lines, frames, text and
// pictures (solid fills write the pixels directly and are not clipped).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "model/page_surface.h"
#include "raster/font.h"
#include "raster/glyph_shapes.h"

namespace qm {

class TRasterCanvas : public TPageSurface {
public:
    TRasterCanvas(int32_t width, int32_t height, double dpi, double zoom = 100.0);

    // Sets a new size; the pixels become white.
    void Resize(int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    double Dpi() const { return dpi_; }
    uint32_t Pixel(int32_t x, int32_t y) const;  // 0x00RRGGBB; 0 outside
    const std::vector<uint32_t>& Pixels() const { return pixels_; }
    uint32_t* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }

    // Writes the canvas as an 8-bit RGB PNG. Returns false when the file cannot be written.
    bool SavePng(const std::string& path) const;

    // TPageSurface
    void FillRect(const TRect& r, int32_t color, TFillKind kind) override;
    void FrameRect(const TRect& r, int32_t color, int32_t penWidth) override;
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color,
              int32_t penWidth) override;
    void SetClip(const TRect* r) override;
    void SelectFont(const std::string& face, double size, uint8_t style, uint8_t charset,
                    uint8_t familyClass) override;
    int32_t TextWidth(std::u32string_view text) override;
    int32_t TextHeight(std::u32string_view text) override;
    void DrawTextRun(int32_t x, int32_t y, std::u32string_view text,
                     const TTextRunStyle& style) override;
    void DrawGlyphCluster(int32_t x, int32_t y, const TGlyphCluster& cluster,
                          const TTextRunStyle& style) override;
    void DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                     const TDib& picture) override;

    // Text in the selected font at (x, y) in colour, without decoration (TextOut).
    void TextOut(int32_t x, int32_t y, std::u32string_view text, int32_t color);
    // Sets one pixel, honouring the clip region.
    void PutPixel(int32_t x, int32_t y, uint32_t rgb);
    // Blends colour over a pixel with coverage 0..255, honouring the clip region.
    void BlendPixel(int32_t x, int32_t y, uint32_t rgb, uint8_t coverage);

private:
    const TGlyphCoverage& GlyphFor(char32_t code);
    const TGlyphCoverage& ShapedGlyph(const TFont& face, uint32_t glyph);
    // Draws a cluster's glyphs in colour; returns its advance in pixels.
    int32_t ClusterOut(int32_t x, int32_t y, const TGlyphCluster& cluster, int32_t color);
    void Underline(int32_t x, int32_t y, int32_t width, int32_t height, const TTextRunStyle& style);
    bool Inside(int32_t x, int32_t y) const;

    int32_t width_ = 0;
    int32_t height_ = 0;
    double dpi_;
    double zoom_;
    std::vector<uint32_t> pixels_;
    std::optional<TRect> clip_;
    TFont font_;
    // Rendered glyphs by (face, em pixels, weight, italic, code point).
    std::map<std::tuple<const TFontFace*, int32_t, int, bool, char32_t>, TGlyphCoverage> glyphs_;
    // Shaped glyphs by (face, em pixels, weight, italic, glyph index).
    std::map<std::tuple<const TFontFace*, int32_t, int, bool, uint32_t>, TGlyphCoverage>
        shapedGlyphs_;
};

// Windows colour 0x00BBGGRR to pixel 0x00RRGGBB.
inline uint32_t ColorToPixel(int32_t color) {
    const auto c = static_cast<uint32_t>(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace qm
