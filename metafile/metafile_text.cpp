// Metafile text: the selected logical font is found through the font layer (the same faces
// and glyphs the pages use), and each glyph's outline is filled at the font's size in pixels,
// turned by the font's escapement. The string's bytes are Windows-1252 codes.
#include <cmath>
#include <numbers>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "metafile/metafile_context.h"
#include "raster/font.h"
#include "raster/glyph_shapes.h"

namespace qm {

namespace {

// The face's metrics are taken at this em size and used as fractions of the em.
constexpr int32_t kMetricPixels = 1000;
// Text of a font whose height is 0 ("the default size") is drawn this many pixels high.
constexpr double kDefaultEmPixels = 16;
constexpr double kMinEmPixels = 0.5;
constexpr double kSyntheticSlant = 0.2;  // the shear of an italic drawn from an upright face
constexpr int16_t kBoldWeight = 600;
constexpr const char* kDefaultFace = "Arial";

// Text alignment ([MS-WMF] 2.1.2.3) and ExtTextOut options (2.1.2.2).
constexpr uint16_t kAlignUpdateCp = 0x0001;
constexpr uint16_t kAlignHorizontal = 0x0006;
constexpr uint16_t kAlignRight = 0x0002;
constexpr uint16_t kAlignCenter = 0x0006;
constexpr uint16_t kAlignVertical = 0x0018;
constexpr uint16_t kAlignBottom = 0x0008;
constexpr uint16_t kAlignBaseline = 0x0018;
constexpr uint16_t kOptionOpaque = 0x0002;
constexpr uint16_t kOptionClipped = 0x0004;

struct TTextFont {
    TFont Font;
    double UnitsPerEm = 0;
    double Em = 0;       // pixels
    double Ascent = 0;   // pixels above the baseline
    double Descent = 0;  // pixels below it
};

bool FindTextFont(const TWmfPlayer& p, TTextFont& out) {
    const TWmfFont& lf = p.Dc().Font;
    uint8_t style = 0;
    if (lf.Weight >= kBoldWeight) style |= kStyleBold;
    if (lf.Italic) style |= kStyleItalic;
    const std::string_view name =
        lf.FaceName.empty() ? std::string_view(kDefaultFace) : std::string_view(lf.FaceName);
    out.Font = selfont(name, 72, 100, kMetricPixels, style, lf.Charset);
    out.UnitsPerEm = UnitsPerEm(out.Font);
    if (!out.Font.Valid() || out.UnitsPerEm <= 0) return false;
    const TFontMetrics metrics = FontMetrics(out.Font);
    const double ascent = double(metrics.Ascent) / kMetricPixels;
    const double descent = double(metrics.Descent) / kMetricPixels;
    const double scaleY = std::abs(p.ScaleY());
    if (lf.Height < 0) {
        out.Em = -double(lf.Height) * scaleY;
    } else if (lf.Height > 0 && ascent + descent > 0) {
        out.Em = lf.Height * scaleY / (ascent + descent);
    } else {
        out.Em = kDefaultEmPixels;
    }
    out.Ascent = ascent * out.Em;
    out.Descent = descent * out.Em;
    return out.Em >= kMinEmPixels && std::isfinite(out.Em);
}

// Appends an outline in font units to Cairo's path under the glyph's matrix; quadratic curves
// become cubic ones with their control points two thirds of the way to the quadratic's.
void AppendOutline(cairo_t* cr, const std::vector<TOutlineSegment>& segments) {
    double lastX = 0, lastY = 0;
    for (const TOutlineSegment& segment : segments) {
        const TOutlinePoint* p = segment.Points;
        switch (segment.Kind) {
            case TSegmentKind::Move:
                cairo_close_path(cr);
                cairo_move_to(cr, p[0].X, p[0].Y);
                lastX = p[0].X, lastY = p[0].Y;
                break;
            case TSegmentKind::Line:
                cairo_line_to(cr, p[0].X, p[0].Y);
                lastX = p[0].X, lastY = p[0].Y;
                break;
            case TSegmentKind::Conic: {
                const double cx = p[0].X, cy = p[0].Y, x = p[1].X, y = p[1].Y;
                cairo_curve_to(cr, lastX + 2 * (cx - lastX) / 3, lastY + 2 * (cy - lastY) / 3,
                               x + 2 * (cx - x) / 3, y + 2 * (cy - y) / 3, x, y);
                lastX = x, lastY = y;
                break;
            }
            case TSegmentKind::Cubic:
                cairo_curve_to(cr, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y);
                lastX = p[2].X, lastY = p[2].Y;
                break;
        }
    }
}

// The direction of the baseline and the direction "up" (toward the ascent), in pixels.
struct TTextFrame {
    double DirX = 1, DirY = 0;
    double UpX = 0, UpY = -1;
    double Angle = 0;  // radians, counter-clockwise on the picture
};

TTextFrame FrameFor(const TWmfFont& lf) {
    TTextFrame f;
    f.Angle = lf.Escapement / 10.0 * std::numbers::pi / 180;
    f.DirX = std::cos(f.Angle), f.DirY = -std::sin(f.Angle);
    f.UpX = -std::sin(f.Angle), f.UpY = -std::cos(f.Angle);
    return f;
}

void AppendGlyph(cairo_t* cr, const TTextFont& font, uint32_t glyph, double x, double y,
                 double angle) {
    std::vector<TOutlineSegment> segments;
    if (!GlyphOutline(font.Font, glyph, segments)) return;
    const double k = font.Em / font.UnitsPerEm;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -angle);
    cairo_scale(cr, k, -k);
    if (SyntheticItalic(font.Font)) {
        cairo_matrix_t shear;
        cairo_matrix_init(&shear, 1, 0, kSyntheticSlant, 1, 0, 0);
        cairo_transform(cr, &shear);
    }
    AppendOutline(cr, segments);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// Advances in pixels: the record's spacing when it gives one, else the glyphs' own.
std::vector<double> Advances(const TWmfPlayer& p, const TTextFont& font, std::u32string_view text,
                             const std::vector<double>& dx) {
    std::vector<double> advances;
    advances.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (i < dx.size()) {
            advances.push_back(std::abs(dx[i] * p.ScaleX()));
            continue;
        }
        const int32_t units = DesignAdvance(font.Font, GlyphIndex(font.Font, text[i]));
        advances.push_back(double(units) * font.Em / font.UnitsPerEm);
    }
    return advances;
}

// A band along the baseline from offset `from` to `to` pixels below it (negative: above).
void AppendBand(cairo_t* cr, const TTextFrame& f, double x, double y, double width, double from,
                double to) {
    cairo_move_to(cr, x - f.UpX * from, y - f.UpY * from);
    cairo_line_to(cr, x + f.DirX * width - f.UpX * from, y + f.DirY * width - f.UpY * from);
    cairo_line_to(cr, x + f.DirX * width - f.UpX * to, y + f.DirY * width - f.UpY * to);
    cairo_line_to(cr, x - f.UpX * to, y - f.UpY * to);
    cairo_close_path(cr);
}

void AppendRect(cairo_t* cr, const TLogicalRect& r) {
    cairo_new_path(cr);
    cairo_rectangle(cr, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

// Where the first glyph's origin lies on the baseline, in pixels, for the text alignment.
TWmfPoint Origin(const TWmfDc& dc, const TTextFont& font, const TTextFrame& f, TWmfPoint ref,
                 double width) {
    double shift = 0;
    if ((dc.TextAlign & kAlignHorizontal) == kAlignCenter) shift = -width / 2;
    if ((dc.TextAlign & kAlignHorizontal) == kAlignRight) shift = -width;
    double drop = font.Ascent;  // from the reference point down to the baseline
    if ((dc.TextAlign & kAlignVertical) == kAlignBaseline) drop = 0;
    if ((dc.TextAlign & kAlignVertical) == kAlignBottom) drop = -font.Descent;
    return {ref.X + f.DirX * shift - f.UpX * drop, ref.Y + f.DirY * shift - f.UpY * drop};
}

// Builds the glyphs, underline and strike-out of a run as one path (in pixels).
void AppendRun(cairo_t* cr, const TWmfFont& lf, const TTextFont& font, const TTextFrame& f,
               TWmfPoint at, std::u32string_view text, const std::vector<double>& advances,
               double width) {
    cairo_new_path(cr);
    double pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t glyph = GlyphIndex(font.Font, text[i]);
        AppendGlyph(cr, font, glyph, at.X + f.DirX * pen, at.Y + f.DirY * pen, f.Angle);
        pen += advances[i];
    }
    const double line = std::max(1.0, font.Em / 14);
    const double strike = font.Em * 0.3;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    if (lf.Underline)
        AppendBand(cr, f, at.X, at.Y, width, font.Descent / 3, font.Descent / 3 + line);
    if (lf.StrikeOut) AppendBand(cr, f, at.X, at.Y, width, -strike - line, -strike);
    cairo_restore(cr);
}

}  // namespace

bool DrawMetafileText(TWmfPlayer& p, const TMetafileText& run) {
    cairo_t* cr = p.Cr();
    TWmfDc& dc = p.Dc();
    if (run.Options & kOptionOpaque) {
        AppendRect(cr, run.Rect);
        if (!FillWithColor(p, dc.BkColor)) return false;
    }
    TTextFont font;
    if (run.Text.empty() || !FindTextFont(p, font)) return true;
    const std::vector<double> advances = Advances(p, font, run.Text, run.Dx);
    double width = 0;
    for (double a : advances)
        width += a;
    const bool fromPosition = dc.TextAlign & kAlignUpdateCp;
    const TWmfPoint ref =
        fromPosition ? p.ToDevice(dc.Position.X, dc.Position.Y) : p.ToDevice(run.X, run.Y);
    if (fromPosition) dc.Position.X += width / std::abs(p.ScaleX());
    const TTextFrame f = FrameFor(dc.Font);
    const TWmfPoint at = Origin(dc, font, f, ref, width);

    cairo_save(cr);
    if (run.Options & kOptionClipped) {
        AppendRect(cr, run.Rect);
        cairo_clip(cr);
    }
    bool withinBudget = true;
    if (dc.BkMode == kBkOpaque) {
        cairo_new_path(cr);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        AppendBand(cr, f, at.X, at.Y, width, -font.Ascent, font.Descent);
        cairo_restore(cr);
        withinBudget = FillWithColor(p, dc.BkColor);
    }
    if (withinBudget) {
        AppendRun(cr, dc.Font, font, f, at, run.Text, advances, width);
        withinBudget = FillWithColor(p, dc.TextColor);
    }
    cairo_restore(cr);
    return withinBudget;
}

namespace {

// The string of a text record: length bytes of Windows-1252, padded to a whole 16-bit word.
bool ReadString(ByteReader& r, uint16_t length, std::u32string& text) {
    std::span<const uint8_t> bytes;
    if (!r.Bytes(length, bytes)) return false;
    text.reserve(bytes.size());
    for (uint8_t byte : bytes)
        text.push_back(Cp1252ToUnicode(byte));
    if (length % 2 != 0) r.Skip(1);
    return true;
}

}  // namespace

bool PlayTextOut(TWmfPlayer& p, ByteReader& r) {
    uint16_t length = 0;
    int16_t y = 0, x = 0;
    TMetafileText run;
    if (!r.U16(length) || !ReadString(r, length, run.Text) || !r.I16(y) || !r.I16(x)) return false;
    run.X = x, run.Y = y;
    return DrawMetafileText(p, run);
}

bool PlayExtTextOut(TWmfPlayer& p, ByteReader& r) {
    int16_t y = 0, x = 0;
    uint16_t length = 0, options = 0;
    TMetafileText run;
    if (!r.I16(y) || !r.I16(x) || !r.U16(length) || !r.U16(options)) return false;
    run.Options = options;
    if (run.Options & (kOptionOpaque | kOptionClipped)) {
        // Stored left, top, right, bottom ([MS-WMF] 2.2.2.18 Rect).
        int16_t left = 0, top = 0, right = 0, bottom = 0;
        if (!r.I16(left) || !r.I16(top) || !r.I16(right) || !r.I16(bottom)) return false;
        run.Rect = {double(left), double(top), double(right), double(bottom)};
    }
    if (!ReadString(r, length, run.Text)) return false;
    run.X = x, run.Y = y;
    // The spacing is optional; a record too short for all of it has none.
    if (r.Remaining() / 2 >= length) {
        run.Dx.resize(length);
        for (double& dx : run.Dx) {
            int16_t value = 0;
            r.I16(value);
            dx = value;
        }
    }
    return DrawMetafileText(p, run);
}

}  // namespace qm
