// Enhanced metafile records that draw lines and shapes, and the path brackets that collect
// them. Shapes are built in logical units under the whole mapping, so that a world
// transformation turns them too. Point lists are bounded by the record: a count that claims
// more points than the record holds makes the record malformed.
#include <cmath>
#include <numbers>

#include "metafile/emf_context.h"

namespace qm {

namespace {

constexpr size_t kBoundsBytes = 16;  // the bounds every shape record starts with
constexpr uint32_t kPointBits16 = 16;
constexpr uint32_t kPointBits32 = 32;

enum class TStart { Move, Line };

// Reads count points of 16 or 32 bits per coordinate and adds them to the path: the first
// one moved to or lined to, the rest lined to, or, with bezier, in threes as curves.
bool AddPoints(TWmfPlayer& p, ByteReader& r, uint32_t count, uint32_t bits, TStart start,
               bool bezier) {
    const size_t pointBytes = bits / 4;
    if (count > r.Remaining() / pointBytes) return false;
    cairo_t* cr = p.Cr();
    double x[3] = {}, y[3] = {};
    for (uint32_t i = 0; i < count; ++i) {
        // Curves keep their first control point in slot 2, the second in 0, the end in 1.
        const bool first = i == 0 && start == TStart::Move;
        const size_t slot =
            !bezier || first ? 0 : (start == TStart::Line ? (i + 2) % 3 : (i + 1) % 3);
        if (bits == kPointBits16) {
            int16_t px = 0, py = 0;
            r.I16(px), r.I16(py);
            x[slot] = px, y[slot] = py;
        } else {
            int32_t px = 0, py = 0;
            r.I32(px), r.I32(py);
            x[slot] = px, y[slot] = py;
        }
        if (i == 0 && start == TStart::Move) {
            cairo_move_to(cr, x[0], y[0]);
        } else if (!bezier) {
            cairo_line_to(cr, x[0], y[0]);
        } else if (slot == 1) {
            cairo_curve_to(cr, x[2], y[2], x[0], y[0], x[1], y[1]);
        }
        p.Dc().Position = {x[slot], y[slot]};
    }
    return true;
}

bool ReadCount(ByteReader& r, uint32_t& count) {
    return r.Skip(kBoundsBytes) && r.U32(count);
}

// A closed or open figure from the record's points.
bool PlayPoly(TWmfPlayer& p, ByteReader& r, uint32_t bits, bool closed) {
    uint32_t count = 0;
    if (!ReadCount(r, count)) return false;
    BeginShape(p);
    if (!AddPoints(p, r, count, bits, TStart::Move, false)) return false;
    if (closed && count > 0) cairo_close_path(p.Cr());
    return PaintShape(p, closed, true);
}

// Lines or curves from the current position, which moves to their end.
bool PlayPolyTo(TWmfPlayer& p, ByteReader& r, uint32_t bits, bool bezier) {
    uint32_t count = 0;
    if (!ReadCount(r, count)) return false;
    BeginShape(p);
    cairo_t* cr = p.Cr();
    if (!p.PathOpen() || !cairo_has_current_point(cr))
        cairo_move_to(cr, p.Dc().Position.X, p.Dc().Position.Y);
    if (!AddPoints(p, r, count, bits, TStart::Line, bezier)) return false;
    return PaintShape(p, false, true);
}

// Several figures: their point counts, then all their points.
bool PlayPolyPoly(TWmfPlayer& p, ByteReader& r, bool closed) {
    uint32_t figures = 0, total = 0;
    if (!r.Skip(kBoundsBytes) || !r.U32(figures) || !r.U32(total)) return false;
    if (figures > r.Remaining() / 4) return false;
    ByteReader counts(r.Data().subspan(r.Pos(), size_t{figures} * 4));
    r.Skip(size_t{figures} * 4);
    BeginShape(p);
    for (uint32_t i = 0; i < figures; ++i) {
        uint32_t count = 0;
        counts.U32(count);
        if (!AddPoints(p, r, count, kPointBits16, TStart::Move, false)) return false;
        if (closed && count > 0) cairo_close_path(p.Cr());
    }
    return PaintShape(p, closed, true);
}

}  // namespace

void BeginShape(TWmfPlayer& p) {
    if (!p.PathOpen()) cairo_new_path(p.Cr());
}

bool PaintShape(TWmfPlayer& p, bool fill, bool stroke) {
    return p.PathOpen() || FillAndStroke(p, fill, stroke);
}

bool PlayEmfLineTo(TWmfPlayer& p, ByteReader& r) {
    int32_t x = 0, y = 0;
    if (!r.I32(x) || !r.I32(y)) return false;
    BeginShape(p);
    cairo_t* cr = p.Cr();
    if (!p.PathOpen() || !cairo_has_current_point(cr))
        cairo_move_to(cr, p.Dc().Position.X, p.Dc().Position.Y);
    cairo_line_to(cr, x, y);
    p.Dc().Position = {double(x), double(y)};
    return PaintShape(p, false, true);
}

bool PlayEmfRectangle(TWmfPlayer& p, ByteReader& r) {
    TLogicalRect box;
    if (!ReadRectL(r, box)) return false;
    BeginShape(p);
    cairo_rectangle(p.Cr(), box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
    return PaintShape(p, true, true);
}

bool PlayEmfEllipse(TWmfPlayer& p, ByteReader& r) {
    TLogicalRect box;
    if (!ReadRectL(r, box)) return false;
    const double rx = std::abs(box.Right - box.Left) / 2, ry = std::abs(box.Bottom - box.Top) / 2;
    if (rx <= 0 || ry <= 0) return true;
    cairo_t* cr = p.Cr();
    BeginShape(p);
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    cairo_close_path(cr);
    return PaintShape(p, true, true);
}

bool PlayEmfPolygon16(TWmfPlayer& p, ByteReader& r) {
    return PlayPoly(p, r, kPointBits16, true);
}
bool PlayEmfPolyline16(TWmfPlayer& p, ByteReader& r) {
    return PlayPoly(p, r, kPointBits16, false);
}
bool PlayEmfPolygon(TWmfPlayer& p, ByteReader& r) {
    return PlayPoly(p, r, kPointBits32, true);
}
bool PlayEmfPolyline(TWmfPlayer& p, ByteReader& r) {
    return PlayPoly(p, r, kPointBits32, false);
}
bool PlayEmfPolylineTo16(TWmfPlayer& p, ByteReader& r) {
    return PlayPolyTo(p, r, kPointBits16, false);
}
bool PlayEmfPolyBezierTo16(TWmfPlayer& p, ByteReader& r) {
    return PlayPolyTo(p, r, kPointBits16, true);
}
bool PlayEmfPolylineTo(TWmfPlayer& p, ByteReader& r) {
    return PlayPolyTo(p, r, kPointBits32, false);
}
bool PlayEmfPolyBezierTo(TWmfPlayer& p, ByteReader& r) {
    return PlayPolyTo(p, r, kPointBits32, true);
}

bool PlayEmfPolyBezier16(TWmfPlayer& p, ByteReader& r) {
    uint32_t count = 0;
    if (!ReadCount(r, count)) return false;
    BeginShape(p);
    cairo_new_sub_path(p.Cr());
    if (!AddPoints(p, r, count, kPointBits16, TStart::Move, true)) return false;
    return PaintShape(p, false, true);
}

bool PlayEmfPolyPolygon16(TWmfPlayer& p, ByteReader& r) {
    return PlayPolyPoly(p, r, true);
}
bool PlayEmfPolyPolyline16(TWmfPlayer& p, ByteReader& r) {
    return PlayPolyPoly(p, r, false);
}

bool PlayEmfBeginPath(TWmfPlayer& p, ByteReader&) {
    cairo_new_path(p.Cr());
    p.SetPathOpen(true);
    return true;
}

bool PlayEmfEndPath(TWmfPlayer& p, ByteReader&) {
    p.SetPathOpen(false);
    return true;
}

bool PlayEmfCloseFigure(TWmfPlayer& p, ByteReader&) {
    if (p.PathOpen()) cairo_close_path(p.Cr());
    return true;
}

bool PlayEmfAbortPath(TWmfPlayer& p, ByteReader&) {
    cairo_new_path(p.Cr());
    p.SetPathOpen(false);
    return true;
}

bool PlayEmfFillPath(TWmfPlayer& p, ByteReader&) {
    p.SetPathOpen(false);
    return FillAndStroke(p, true, false);
}

bool PlayEmfStrokePath(TWmfPlayer& p, ByteReader&) {
    p.SetPathOpen(false);
    return FillAndStroke(p, false, true);
}

bool PlayEmfStrokeAndFillPath(TWmfPlayer& p, ByteReader&) {
    p.SetPathOpen(false);
    return FillAndStroke(p, true, true);
}

}  // namespace qm
