// Enhanced metafile clipping: rectangles in logical units, regions in the reference device's
// pixels, and the path of a closed bracket. Cairo can only narrow its clip; a region that
// widens it (or, combining, unions it) starts again from the whole picture.
#include "metafile/emf_context.h"

namespace qm {

namespace {

// Region modes ([MS-EMF] 2.1.29).
constexpr uint32_t kRegionAnd = 1;
constexpr uint32_t kRegionDiff = 4;
constexpr uint32_t kRegionCopy = 5;
constexpr size_t kRegionHeaderBytes = 32;  // RegionDataHeader
constexpr size_t kRectBytes = 16;

void AppendRect(cairo_t* cr, const TLogicalRect& rect) {
    cairo_rectangle(cr, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

// The whole picture in its pixels, added to the path so that the even-odd rule cuts out what
// else the path holds.
void AppendPicture(TWmfPlayer& p) {
    cairo_t* cr = p.Cr();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, 0, 0, p.Width(), p.Height());
    cairo_restore(cr);
}

// Clips to Cairo's current path as mode says; the path is used up.
void ClipToPath(TWmfPlayer& p, uint32_t mode) {
    cairo_t* cr = p.Cr();
    if (mode == kRegionCopy) cairo_reset_clip(cr);
    if (mode == kRegionDiff) {
        AppendPicture(p);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    } else {
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    }
    if (mode == kRegionAnd || mode == kRegionCopy || mode == kRegionDiff) {
        cairo_clip(cr);
    } else {
        // Union and exclusive-or could only widen the clip: the whole picture stands for them.
        cairo_new_path(cr);
        cairo_reset_clip(cr);
    }
    cairo_new_path(cr);
}

}  // namespace

bool ReadRectL(ByteReader& r, TLogicalRect& rect) {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (!r.I32(left) || !r.I32(top) || !r.I32(right) || !r.I32(bottom)) return false;
    rect = {double(left), double(top), double(right), double(bottom)};
    return true;
}

bool PlayEmfIntersectClipRect(TWmfPlayer& p, ByteReader& r) {
    TLogicalRect rect;
    if (!ReadRectL(r, rect)) return false;
    cairo_new_path(p.Cr());
    AppendRect(p.Cr(), rect);
    ClipToPath(p, kRegionAnd);
    return true;
}

bool PlayEmfExcludeClipRect(TWmfPlayer& p, ByteReader& r) {
    TLogicalRect rect;
    if (!ReadRectL(r, rect)) return false;
    cairo_new_path(p.Cr());
    AppendRect(p.Cr(), rect);
    ClipToPath(p, kRegionDiff);
    return true;
}

bool PlayEmfExtSelectClipRgn(TWmfPlayer& p, ByteReader& r) {
    uint32_t dataBytes = 0, mode = 0, headerBytes = 0, type = 0, count = 0;
    if (!r.U32(dataBytes) || !r.U32(mode)) return false;
    cairo_t* cr = p.Cr();
    if (dataBytes < kRegionHeaderBytes) {
        // No region: a copy resets the clip to the whole picture.
        if (mode == kRegionCopy) cairo_reset_clip(cr);
        return true;
    }
    const size_t start = r.Pos();
    if (!r.U32(headerBytes) || !r.U32(type) || !r.U32(count) || !r.Seek(start + kRegionHeaderBytes))
        return false;
    if (count > r.Remaining() / kRectBytes) return false;
    // The region's rectangles are in the reference device's pixels.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_set_matrix(cr, &p.DeviceToPicture());
    for (uint32_t i = 0; i < count; ++i) {
        TLogicalRect rect;
        ReadRectL(r, rect);
        AppendRect(cr, rect);
    }
    cairo_restore(cr);
    ClipToPath(p, mode);
    return true;
}

bool PlayEmfSelectClipPath(TWmfPlayer& p, ByteReader& r) {
    uint32_t mode = 0;
    if (!r.U32(mode)) return false;
    p.SetPathOpen(false);
    ClipToPath(p, mode);
    return true;
}

}  // namespace qm
