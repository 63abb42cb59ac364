// Painting a metafile path: the brush fill, the pen outline and the binary raster operation
// that combines them with the picture. Paths are built in logical units and painted in device
// pixels, so that pen widths, dashes and pattern tiles keep their pixel sizes as on a screen.
#include <algorithm>
#include <cmath>
#include <vector>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

// Binary raster operations ([MS-WMF] 2.1.1.3) we draw; others paint as R2_COPYPEN.
constexpr uint16_t kRopBlack = 1;
constexpr uint16_t kRopNotCopyPen = 4;
constexpr uint16_t kRopNot = 6;
constexpr uint16_t kRopXorPen = 7;
constexpr uint16_t kRopMaskPen = 9;
constexpr uint16_t kRopNop = 11;
constexpr uint16_t kRopMergePen = 15;
constexpr uint16_t kRopWhite = 16;

// Hatch styles ([MS-WMF] 2.1.1.12).
constexpr uint16_t kHatchHorizontal = 0;
constexpr uint16_t kHatchVertical = 1;
constexpr uint16_t kHatchForward = 2;   // "\"
constexpr uint16_t kHatchBackward = 3;  // "/"
constexpr uint16_t kHatchCross = 4;
constexpr int kHatchTile = 8;

// Pen end caps and joins (the high bits of the style, [MS-WMF] 2.1.1.23).
constexpr uint16_t kPenEndSquare = 0x0100;
constexpr uint16_t kPenEndFlat = 0x0200;
constexpr uint16_t kPenJoinBevel = 0x1000;
constexpr uint16_t kPenJoinMiter = 0x2000;

enum class TColorRule { Own, Black, White, Inverted };

struct TPaintMode {
    bool Draws = true;
    cairo_operator_t Operator = CAIRO_OPERATOR_OVER;
    TColorRule Color = TColorRule::Own;
};

TPaintMode ModeFor(uint16_t rop2) {
    switch (rop2) {
        case kRopBlack:
            return {true, CAIRO_OPERATOR_OVER, TColorRule::Black};
        case kRopNotCopyPen:
            return {true, CAIRO_OPERATOR_OVER, TColorRule::Inverted};
        case kRopNot:
            return {true, CAIRO_OPERATOR_DIFFERENCE, TColorRule::White};
        case kRopXorPen:
            return {true, CAIRO_OPERATOR_DIFFERENCE, TColorRule::Own};
        case kRopMaskPen:
            return {true, CAIRO_OPERATOR_MULTIPLY, TColorRule::Own};
        case kRopNop:
            return {false};
        case kRopMergePen:
            return {true, CAIRO_OPERATOR_LIGHTEN, TColorRule::Own};
        case kRopWhite:
            return {true, CAIRO_OPERATOR_OVER, TColorRule::White};
        default:
            return {};
    }
}

uint32_t Apply(TColorRule rule, uint32_t color) {
    switch (rule) {
        case TColorRule::Black:
            return kWmfBlack;
        case TColorRule::White:
            return kWmfWhite;
        case TColorRule::Inverted:
            return ~color & 0xFFFFFF;
        case TColorRule::Own:
            return color;
    }
    return color;
}

void SetColor(cairo_t* cr, uint32_t color) {
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

bool OnHatch(uint16_t hatch, int x, int y) {
    const bool horizontal = y == kHatchTile / 2;
    const bool vertical = x == kHatchTile / 2;
    const bool forward = x == y;
    const bool backward = x == kHatchTile - 1 - y;
    switch (hatch) {
        case kHatchHorizontal:
            return horizontal;
        case kHatchVertical:
            return vertical;
        case kHatchForward:
            return forward;
        case kHatchBackward:
            return backward;
        case kHatchCross:
            return horizontal || vertical;
        default:
            return forward || backward;
    }
}

// The 8 x 8 tile of a hatched brush: its colour on the lines, the background colour between
// them when the background mode is opaque, else nothing.
TCairoSurface HatchTile(const TWmfBrush& brush, const TWmfDc& dc) {
    TCairoSurface tile =
        OwnSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kHatchTile, kHatchTile));
    if (!tile) return tile;
    const auto argb = [](uint32_t color) {
        return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    };
    const uint32_t background = dc.BkMode == kBkOpaque ? argb(dc.BkColor) : 0;
    unsigned char* data = cairo_image_surface_get_data(tile.get());
    const int stride = cairo_image_surface_get_stride(tile.get());
    for (int y = 0; y < kHatchTile; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + ptrdiff_t{y} * stride);
        for (int x = 0; x < kHatchTile; ++x)
            row[x] = OnHatch(brush.Hatch, x, y) ? argb(brush.Color) : background;
    }
    cairo_surface_mark_dirty(tile.get());
    return tile;
}

void SetTileSource(cairo_t* cr, cairo_surface_t* tile) {
    cairo_set_source_surface(cr, tile, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
}

void SetBrush(TWmfPlayer& p, const TWmfBrush& brush, TColorRule rule) {
    cairo_t* cr = p.Cr();
    if (rule != TColorRule::Own || brush.Style == kBrushSolid) {
        SetColor(cr, Apply(rule, brush.Color));
    } else if (brush.Style == kBrushHatched) {
        const TCairoSurface tile = HatchTile(brush, p.Dc());
        if (tile) SetTileSource(cr, tile.get());  // the source keeps its own reference
    } else if (brush.Pattern) {
        SetTileSource(cr, brush.Pattern.get());
    } else {
        SetColor(cr, brush.Color);
    }
}

// Quirk: a pen wider than the picture's width and height together covers all of the picture
// it reaches; wider ones (a damaged 32-bit width) are drawn that wide, which looks the same and
// keeps Cairo from outlining strokes millions of pixels wide.
double PenWidth(const TWmfPlayer& p) {
    const double widest = 2.0 * (double(p.Width()) + double(p.Height()));
    return std::min(widest, std::max(p.PixelScale(), std::abs(p.Dc().Pen.Width * p.ScaleX())));
}

void SetPen(TWmfPlayer& p, TColorRule rule) {
    cairo_t* cr = p.Cr();
    const TWmfPen& pen = p.Dc().Pen;
    const double width = PenWidth(p);
    SetColor(cr, Apply(rule, pen.Color));
    cairo_set_line_width(cr, width);
    const bool thin = width <= p.PixelScale();
    cairo_set_line_cap(cr, (pen.Style & kPenEndFlat)     ? CAIRO_LINE_CAP_BUTT
                           : (pen.Style & kPenEndSquare) ? CAIRO_LINE_CAP_SQUARE
                           : thin                        ? CAIRO_LINE_CAP_BUTT
                                                         : CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, (pen.Style & kPenJoinBevel)   ? CAIRO_LINE_JOIN_BEVEL
                            : (pen.Style & kPenJoinMiter) ? CAIRO_LINE_JOIN_MITER
                            : thin                        ? CAIRO_LINE_JOIN_MITER
                                                          : CAIRO_LINE_JOIN_ROUND);
    // Styled pens draw their dashes one pixel wide only, as on a screen.
    std::vector<double> dashes;
    switch (pen.Style & 0x0F) {
        case kPenDash:
            dashes = {18, 6};
            break;
        case kPenDot:
            dashes = {3, 3};
            break;
        case kPenDashDot:
            dashes = {9, 6, 3, 6};
            break;
        case kPenDashDotDot:
            dashes = {9, 3, 3, 3, 3, 3};
            break;
        default:
            break;
    }
    if (!thin) dashes.clear();
    for (double& dash : dashes)
        dash *= p.PixelScale();
    cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
}

}  // namespace

void SetBrushSource(TWmfPlayer& p, const TWmfBrush& brush) {
    SetBrush(p, brush, TColorRule::Own);
}

bool FillAndStroke(TWmfPlayer& p, bool fill, bool stroke) {
    cairo_t* cr = p.Cr();
    const TWmfDc& dc = p.Dc();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_path_extents(cr, &x1, &y1, &x2, &y2);
    const double pad = PenWidth(p);
    const bool withinBudget = p.Spend(x1 - pad, y1 - pad, x2 + pad, y2 + pad);
    const TPaintMode mode = ModeFor(dc.Rop2);
    if (withinBudget && mode.Draws) {
        cairo_set_operator(cr, mode.Operator);
        if (fill && dc.Brush.Style != kBrushNull) {
            cairo_set_fill_rule(cr, dc.PolyFillMode == kFillAlternate ? CAIRO_FILL_RULE_EVEN_ODD
                                                                      : CAIRO_FILL_RULE_WINDING);
            SetBrush(p, dc.Brush, mode.Color);
            cairo_fill_preserve(cr);
        }
        if (stroke && (dc.Pen.Style & 0x0F) != kPenNull) {
            SetPen(p, mode.Color);
            cairo_stroke_preserve(cr);
        }
    }
    cairo_new_path(cr);
    cairo_restore(cr);
    return withinBudget;
}

bool FillWithColor(TWmfPlayer& p, uint32_t color) {
    cairo_t* cr = p.Cr();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_path_extents(cr, &x1, &y1, &x2, &y2);
    const bool withinBudget = p.Spend(x1, y1, x2, y2);
    if (withinBudget) {
        SetColor(cr, color);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill_preserve(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
    return withinBudget;
}

}  // namespace qm
