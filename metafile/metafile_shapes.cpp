// Metafile records that draw lines and shapes. Point lists are bounded by the record: a count
// that claims more points than the record holds makes the record malformed.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

constexpr size_t kPointBytes = 4;
// Radii below this many pixels draw nothing (a zero scale would break Cairo's state).
constexpr double kMinRadius = 1e-6;

bool ReadPoints(ByteReader& r, uint16_t count, cairo_t* cr, bool close) {
    if (count > r.Remaining() / kPointBytes) return false;
    for (uint16_t i = 0; i < count; ++i) {
        int16_t x = 0, y = 0;
        r.I16(x), r.I16(y);
        if (i == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    if (close && count > 0) cairo_close_path(cr);
    return true;
}

// An ellipse in the box of a shape record, in pixels.
struct TDeviceEllipse {
    double CenterX = 0, CenterY = 0, RadiusX = 0, RadiusY = 0;

    bool Usable() const { return RadiusX > kMinRadius && RadiusY > kMinRadius; }
    // The angle at which the line from the centre to a point (in pixels) meets the ellipse.
    double AngleOf(const TWmfPoint& point) const {
        return std::atan2((point.Y - CenterY) / RadiusY, (point.X - CenterX) / RadiusX);
    }
};

TDeviceEllipse EllipseIn(const TWmfPlayer& p, const TWmfRectParams& box) {
    const TWmfPoint a = p.ToDevice(box.Left, box.Top);
    const TWmfPoint b = p.ToDevice(box.Right, box.Bottom);
    return {(a.X + b.X) / 2, (a.Y + b.Y) / 2, std::abs(b.X - a.X) / 2, std::abs(b.Y - a.Y) / 2};
}

// Appends an elliptic arc, counter-clockwise on the picture as Windows draws by default, from
// angle `from` to angle `to` (0 = full turn when they are equal).
void AppendArc(cairo_t* cr, const TDeviceEllipse& e, double from, double to) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_translate(cr, e.CenterX, e.CenterY);
    cairo_scale(cr, e.RadiusX, e.RadiusY);
    if (to >= from) to -= 2 * std::numbers::pi;
    cairo_arc_negative(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
}

enum class TArcKind { Open, Pie, Chord };

bool PlayArcShape(TWmfPlayer& p, ByteReader& r, TArcKind kind) {
    int16_t yEnd = 0, xEnd = 0, yStart = 0, xStart = 0;
    TWmfRectParams box;
    if (!r.I16(yEnd) || !r.I16(xEnd) || !r.I16(yStart) || !r.I16(xStart) || !box.Read(r))
        return false;
    const TDeviceEllipse e = EllipseIn(p, box);
    if (!e.Usable()) return true;
    cairo_t* cr = p.Cr();
    cairo_new_path(cr);
    const double from = e.AngleOf(p.ToDevice(xStart, yStart));
    const double to = e.AngleOf(p.ToDevice(xEnd, yEnd));
    if (kind == TArcKind::Pie) {
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_move_to(cr, e.CenterX, e.CenterY);
        cairo_restore(cr);
    }
    AppendArc(cr, e, from, to);
    if (kind != TArcKind::Open) cairo_close_path(cr);
    return FillAndStroke(p, kind != TArcKind::Open, true);
}

}  // namespace

bool PlayLineTo(TWmfPlayer& p, ByteReader& r) {
    int16_t y = 0, x = 0;
    if (!r.I16(y) || !r.I16(x)) return false;
    cairo_t* cr = p.Cr();
    cairo_new_path(cr);
    cairo_move_to(cr, p.Dc().Position.X, p.Dc().Position.Y);
    cairo_line_to(cr, x, y);
    p.Dc().Position = {double(x), double(y)};
    return FillAndStroke(p, false, true);
}

bool PlayPolygon(TWmfPlayer& p, ByteReader& r) {
    uint16_t count = 0;
    cairo_new_path(p.Cr());
    if (!r.U16(count) || !ReadPoints(r, count, p.Cr(), true)) return false;
    return FillAndStroke(p, true, true);
}

bool PlayPolyline(TWmfPlayer& p, ByteReader& r) {
    uint16_t count = 0;
    cairo_new_path(p.Cr());
    if (!r.U16(count) || !ReadPoints(r, count, p.Cr(), false)) return false;
    return FillAndStroke(p, false, true);
}

bool PlayPolyPolygon(TWmfPlayer& p, ByteReader& r) {
    uint16_t polygons = 0;
    if (!r.U16(polygons) || polygons > r.Remaining() / 2) return false;
    ByteReader counts(r.Data().subspan(r.Pos(), size_t{polygons} * 2));
    r.Skip(size_t{polygons} * 2);
    cairo_new_path(p.Cr());
    for (uint16_t i = 0; i < polygons; ++i) {
        uint16_t count = 0;
        counts.U16(count);
        if (!ReadPoints(r, count, p.Cr(), true)) return false;
    }
    return FillAndStroke(p, true, true);
}

bool PlayRectangle(TWmfPlayer& p, ByteReader& r) {
    TWmfRectParams box;
    if (!box.Read(r)) return false;
    cairo_new_path(p.Cr());
    cairo_rectangle(p.Cr(), box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
    return FillAndStroke(p, true, true);
}

bool PlayRoundRect(TWmfPlayer& p, ByteReader& r) {
    int16_t cornerHeight = 0, cornerWidth = 0;
    TWmfRectParams box;
    if (!r.I16(cornerHeight) || !r.I16(cornerWidth) || !box.Read(r)) return false;
    const TWmfPoint a = p.ToDevice(box.Left, box.Top), b = p.ToDevice(box.Right, box.Bottom);
    const double left = std::min(a.X, b.X), right = std::max(a.X, b.X);
    const double top = std::min(a.Y, b.Y), bottom = std::max(a.Y, b.Y);
    const double rx = std::min(std::abs(cornerWidth * p.ScaleX()) / 2, (right - left) / 2);
    const double ry = std::min(std::abs(cornerHeight * p.ScaleY()) / 2, (bottom - top) / 2);
    cairo_t* cr = p.Cr();
    cairo_new_path(cr);
    if (rx <= kMinRadius || ry <= kMinRadius) {
        cairo_rectangle(cr, box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
        return FillAndStroke(p, true, true);
    }
    constexpr double kQuarter = std::numbers::pi / 2;
    const TDeviceEllipse corners[] = {{right - rx, top + ry, rx, ry},
                                      {left + rx, top + ry, rx, ry},
                                      {left + rx, bottom - ry, rx, ry},
                                      {right - rx, bottom - ry, rx, ry}};
    for (int i = 0; i < 4; ++i)
        AppendArc(cr, corners[i], -i * kQuarter, -(i + 1) * kQuarter);
    cairo_close_path(cr);
    return FillAndStroke(p, true, true);
}

bool PlayEllipse(TWmfPlayer& p, ByteReader& r) {
    TWmfRectParams box;
    if (!box.Read(r)) return false;
    const TDeviceEllipse e = EllipseIn(p, box);
    if (!e.Usable()) return true;
    cairo_new_path(p.Cr());
    AppendArc(p.Cr(), e, 0, 0);
    cairo_close_path(p.Cr());
    return FillAndStroke(p, true, true);
}

bool PlayArc(TWmfPlayer& p, ByteReader& r) {
    return PlayArcShape(p, r, TArcKind::Open);
}
bool PlayPie(TWmfPlayer& p, ByteReader& r) {
    return PlayArcShape(p, r, TArcKind::Pie);
}
bool PlayChord(TWmfPlayer& p, ByteReader& r) {
    return PlayArcShape(p, r, TArcKind::Chord);
}

bool PlaySetPixel(TWmfPlayer& p, ByteReader& r) {
    uint32_t color = 0;
    int16_t y = 0, x = 0;
    if (!ReadColorRef(r, color) || !r.I16(y) || !r.I16(x)) return false;
    const TWmfPoint at = p.ToDevice(x, y);
    cairo_t* cr = p.Cr();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, std::floor(at.X), std::floor(at.Y), 1, 1);
    cairo_restore(cr);
    return FillWithColor(p, p.Color(color));
}

}  // namespace qm
