#include "render/raster_canvas.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

constexpr uint32_t kWhitePixel = 0xFFFFFF;

}  // namespace

TRasterCanvas::TRasterCanvas(int32_t width, int32_t height, double dpi, double zoom)
    : dpi_(dpi), zoom_(zoom) {
    Resize(width, height);
}

void TRasterCanvas::Resize(int32_t width, int32_t height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<size_t>(width_) * height_, kWhitePixel);
    clip_.reset();
}

uint32_t TRasterCanvas::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

bool TRasterCanvas::Inside(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    if (clip_ && (x < clip_->Left || x >= clip_->Right || y < clip_->Top || y >= clip_->Bottom))
        return false;
    return true;
}

void TRasterCanvas::PutPixel(int32_t x, int32_t y, uint32_t rgb) {
    if (Inside(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = rgb;
}

void TRasterCanvas::BlendPixel(int32_t x, int32_t y, uint32_t rgb, uint8_t coverage) {
    if (coverage == 0 || !Inside(x, y)) return;
    uint32_t& dst = pixels_[static_cast<size_t>(y) * width_ + x];
    const uint32_t a = coverage;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t d = (dst >> shift) & 0xFF;
        const uint32_t s = (rgb >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    dst = out;
}

void TRasterCanvas::FillRect(const TRect& r, int32_t color, TFillKind kind) {
    // Fills write the rows directly: left up to the smaller of right and the limit.
    const int32_t limit = kind == TFillKind::Paper ? width_ : width_ - 16;  // rules too
    const int32_t left = std::max(r.Left, 0);
    const int32_t right = std::min({r.Right, limit, width_});
    const int32_t top = std::max(r.Top, 0);
    const int32_t bottom = std::min(r.Bottom, height_);
    if (left >= right || top >= bottom) return;
    const uint32_t rgb = ColorToPixel(color);
    for (int32_t y = top; y < bottom; ++y)
        std::fill(Row(y) + left, Row(y) + right, rgb);
}

void TRasterCanvas::FrameRect(const TRect& r, int32_t color, int32_t penWidth) {
    const int32_t pen = std::max(penWidth, 1);
    const uint32_t rgb = ColorToPixel(color);
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        for (int32_t x = r.Left; x < r.Right; ++x) {
            const bool edge =
                x < r.Left + pen || x >= r.Right - pen || y < r.Top + pen || y >= r.Bottom - pen;
            if (edge)
                PutPixel(x, y, rgb);
            else
                x = r.Right - pen - 1;  // skip the inside of the row
        }
    }
}

void TRasterCanvas::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color,
                         int32_t penWidth) {
    const uint32_t rgb = ColorToPixel(color);
    const int32_t pen = std::max(penWidth, 1);
    const int32_t before = (pen - 1) / 2;  // a wide pen is centred on the line
    auto dot = [&](int32_t x, int32_t y) {
        if (pen == 1) return PutPixel(x, y, rgb);
        for (int32_t dy = 0; dy < pen; ++dy)
            for (int32_t dx = 0; dx < pen; ++dx)
                PutPixel(x - before + dx, y - before + dy, rgb);
    };
    // Bresenham from the start point up to, but not including, the end point.
    const int64_t dx = std::abs(static_cast<int64_t>(x1) - x0);
    const int64_t dy = -std::abs(static_cast<int64_t>(y1) - y0);
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    // Lines far outside the canvas are not walked pixel by pixel.
    const int64_t steps = std::max(dx, -dy);
    if (steps > 4 * static_cast<int64_t>(width_ + height_) + 64) return;
    int64_t err = dx + dy;
    int32_t x = x0, y = y0;
    while (x != x1 || y != y1) {
        dot(x, y);
        const int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TRasterCanvas::SetClip(const TRect* r) {
    if (r)
        clip_ = *r;
    else
        clip_.reset();
}

void TRasterCanvas::SelectFont(const std::string& face, double size, uint8_t style, uint8_t charset,
                               uint8_t familyClass) {
    font_ = selfont(face, static_cast<int32_t>(dpi_), zoom_, size, style, charset, familyClass);
}

int32_t TRasterCanvas::TextWidth(std::u32string_view text) {
    return qm::TextWidth(font_, text);
}

int32_t TRasterCanvas::TextHeight(std::u32string_view text) {
    return qm::TextHeight(font_, text);
}

const TGlyphCoverage& TRasterCanvas::GlyphFor(char32_t code) {
    const auto key =
        std::make_tuple(font_.Face(), font_.PixelSize(), font_.Weight(), font_.Italic(), code);
    auto it = glyphs_.find(key);
    if (it != glyphs_.end()) return it->second;
    TGlyphCoverage& glyph = glyphs_[key];
    if (code < 32) return glyph;  // control characters leave no mark
    // The face and glyph that measuring found, so that what is drawn is what was measured: the
    // font's own, or a fallback face's at the same size and style.
    const TResolvedGlyph resolved = ResolveGlyph(font_, code);
    if (resolved.Glyph != 0) glyph = GlyphCoverage(resolved.Font, resolved.Glyph);
    return glyph;
}

void TRasterCanvas::TextOut(int32_t x, int32_t y, std::u32string_view text, int32_t color) {
    if (!font_.Valid()) return;
    const uint32_t rgb = ColorToPixel(color);
    const int32_t ascent = FontMetrics(font_).Ascent;
    const int32_t baseline = y + ascent;
    int32_t penX = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const TGlyphCoverage& g = GlyphFor(text[i]);
        for (int32_t row = 0; row < g.Height; ++row)
            for (int32_t col = 0; col < g.Width; ++col)
                BlendPixel(penX + g.Left + col, baseline - g.Top + row, rgb,
                           g.Coverage[static_cast<size_t>(row) * g.Width + col]);
        penX += qm::TextWidth(font_, text.substr(i, 1));
    }
    if (font_.StrikeOut()) {
        const TStrikeLine strike = StrikeLine(font_);
        const int32_t width = qm::TextWidth(font_, text);
        for (int32_t k = 0; k < strike.Thickness; ++k)
            Line(x, baseline - strike.Position + k, x + width, baseline - strike.Position + k,
                 color, 1);
    }
}

void TRasterCanvas::DrawTextRun(int32_t x, int32_t y, std::u32string_view text,
                                const TTextRunStyle& style) {
    const double pixPerPoint = zoom_ * (dpi_ / 72) / 100;
    const auto unit = static_cast<int32_t>(1.0 * pixPerPoint);
    if (style.Shadow) TextOut(x + 2 * unit, y + 2 * unit, text, style.ShadowColor);
    TextOut(x, y, text, style.Color);
    if (style.UnderlineKind != 1 && style.UnderlineKind != 2) return;
    const TTextExtent extent = TextExtent(font_, text);
    Underline(x, y, extent.Cx, extent.Cy, style);
}

void TRasterCanvas::Underline(int32_t x, int32_t y, int32_t width, int32_t height,
                              const TTextRunStyle& style) {
    if (style.UnderlineKind != 1 && style.UnderlineKind != 2) return;
    const double pixPerPoint = zoom_ * (dpi_ / 72) / 100;
    const auto uw = static_cast<int32_t>(style.Size * pixPerPoint / 12);
    const int32_t y1 = y + height - uw;
    Line(x - 1, y1, x + width + 1, y1, style.Color, uw);
    if (style.UnderlineKind == 2) {
        const int32_t y2 = y + height - 3 * uw;
        Line(x - 1, y2, x + width + 1, y2, style.Color, uw);
    }
}

const TGlyphCoverage& TRasterCanvas::ShapedGlyph(const TFont& face, uint32_t glyph) {
    const auto key =
        std::make_tuple(face.Face(), face.PixelSize(), face.Weight(), face.Italic(), glyph);
    auto it = shapedGlyphs_.find(key);
    if (it != shapedGlyphs_.end()) return it->second;
    return shapedGlyphs_.emplace(key, GlyphCoverage(face, glyph)).first->second;
}

int32_t TRasterCanvas::ClusterOut(int32_t x, int32_t y, const TGlyphCluster& cluster,
                                  int32_t color) {
    // The cluster's face at the selected font's size and style; the cell, and with it the
    // baseline, is the selected font's, as for any other text.
    const TFont face(cluster.Face.Face(), font_.Height(), font_.Weight() > 400, font_.Italic(),
                     font_.StrikeOut(), font_.Charset());
    const uint32_t rgb = ColorToPixel(color);
    const int32_t baseline = y + FontMetrics(font_).Ascent;
    const double em = font_.PixelSize();
    double pen = x;
    for (const TShapedGlyph& shaped : cluster.Glyphs) {
        const TGlyphCoverage& g = ShapedGlyph(face, shaped.Glyph);
        const auto gx = static_cast<int32_t>(std::lround(pen + shaped.OffsetX * em));
        const auto gy = static_cast<int32_t>(std::lround(baseline - shaped.OffsetY * em));
        for (int32_t row = 0; row < g.Height; ++row)
            for (int32_t col = 0; col < g.Width; ++col)
                BlendPixel(gx + g.Left + col, gy - g.Top + row, rgb,
                           g.Coverage[static_cast<size_t>(row) * g.Width + col]);
        pen += shaped.Advance * em;
    }
    return static_cast<int32_t>(std::lround(pen - x));
}

void TRasterCanvas::DrawGlyphCluster(int32_t x, int32_t y, const TGlyphCluster& cluster,
                                     const TTextRunStyle& style) {
    if (!font_.Valid() || !cluster.Face.Valid()) return;
    const double pixPerPoint = zoom_ * (dpi_ / 72) / 100;
    const auto unit = static_cast<int32_t>(1.0 * pixPerPoint);
    if (style.Shadow) ClusterOut(x + 2 * unit, y + 2 * unit, cluster, style.ShadowColor);
    const int32_t width = ClusterOut(x, y, cluster, style.Color);
    const int32_t height = FontMetrics(font_).Height;
    if (font_.StrikeOut()) {
        const TStrikeLine strike = StrikeLine(font_);
        const int32_t baseline = y + FontMetrics(font_).Ascent;
        for (int32_t k = 0; k < strike.Thickness; ++k)
            Line(x, baseline - strike.Position + k, x + width, baseline - strike.Position + k,
                 style.Color, 1);
    }
    Underline(x, y, width, height, style);
}

}  // namespace qm
