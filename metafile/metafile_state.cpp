// Metafile records that change the device context: colours and modes, the window, clipping,
// saving and the current position.
#include "metafile/metafile_context.h"

namespace qm {

namespace {

// The records with one 16-bit mode (some writers add a reserved 16-bit word after it).
bool ReadMode(ByteReader& r, uint16_t& mode) {
    return r.U16(mode);
}

}  // namespace

bool PlaySetBkColor(TWmfPlayer& p, ByteReader& r) {
    uint32_t color = 0;
    if (!ReadColorRef(r, color)) return false;
    p.Dc().BkColor = p.Color(color);
    return true;
}

bool PlaySetTextColor(TWmfPlayer& p, ByteReader& r) {
    uint32_t color = 0;
    if (!ReadColorRef(r, color)) return false;
    p.Dc().TextColor = p.Color(color);
    return true;
}

bool PlaySetBkMode(TWmfPlayer& p, ByteReader& r) {
    return ReadMode(r, p.Dc().BkMode);
}
bool PlaySetTextAlign(TWmfPlayer& p, ByteReader& r) {
    return ReadMode(r, p.Dc().TextAlign);
}
bool PlaySetPolyFillMode(TWmfPlayer& p, ByteReader& r) {
    return ReadMode(r, p.Dc().PolyFillMode);
}
bool PlaySetRop2(TWmfPlayer& p, ByteReader& r) {
    return ReadMode(r, p.Dc().Rop2);
}

bool PlaySetWindowOrg(TWmfPlayer& p, ByteReader& r) {
    int16_t y = 0, x = 0;
    if (!r.I16(y) || !r.I16(x)) return false;
    p.Dc().WindowOrgX = x;
    p.Dc().WindowOrgY = y;
    p.ApplyWindow();
    return true;
}

bool PlaySetWindowExt(TWmfPlayer& p, ByteReader& r) {
    int16_t y = 0, x = 0;
    if (!r.I16(y) || !r.I16(x)) return false;
    // A zero extent would map everything onto one line; Windows refuses it too.
    if (x == 0 || y == 0) return true;
    p.Dc().WindowExtX = x;
    p.Dc().WindowExtY = y;
    p.ApplyWindow();
    return true;
}

bool PlayOffsetWindowOrg(TWmfPlayer& p, ByteReader& r) {
    int16_t y = 0, x = 0;
    if (!r.I16(y) || !r.I16(x)) return false;
    p.Dc().WindowOrgX += x;
    p.Dc().WindowOrgY += y;
    p.ApplyWindow();
    return true;
}

bool PlayScaleWindowExt(TWmfPlayer& p, ByteReader& r) {
    int16_t yDenom = 0, yNum = 0, xDenom = 0, xNum = 0;
    if (!r.I16(yDenom) || !r.I16(yNum) || !r.I16(xDenom) || !r.I16(xNum)) return false;
    if (yDenom == 0 || yNum == 0 || xDenom == 0 || xNum == 0) return true;
    p.Dc().WindowExtX = p.Dc().WindowExtX * xNum / xDenom;
    p.Dc().WindowExtY = p.Dc().WindowExtY * yNum / yDenom;
    p.ApplyWindow();
    return true;
}

bool PlaySaveDc(TWmfPlayer& p, ByteReader&) {
    p.Save();
    return true;
}

bool PlayRestoreDc(TWmfPlayer& p, ByteReader& r) {
    int16_t level = 0;
    if (!r.I16(level)) return false;
    p.Restore(level);
    return true;
}

bool PlayIntersectClipRect(TWmfPlayer& p, ByteReader& r) {
    TWmfRectParams rect;
    if (!rect.Read(r)) return false;
    cairo_t* cr = p.Cr();
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    cairo_clip(cr);
    return true;
}

bool PlayExcludeClipRect(TWmfPlayer& p, ByteReader& r) {
    TWmfRectParams rect;
    if (!rect.Read(r)) return false;
    cairo_t* cr = p.Cr();
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    // The whole picture around it, so that the even-odd rule leaves the rectangle out.
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, 0, 0, p.Width(), p.Height());
    cairo_restore(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    return true;
}

bool PlayMoveTo(TWmfPlayer& p, ByteReader& r) {
    int16_t y = 0, x = 0;
    if (!r.I16(y) || !r.I16(x)) return false;
    p.Dc().Position = {double(x), double(y)};
    return true;
}

}  // namespace qm
