// Enhanced metafile records that change the device context: modes and colours, the mapping
// from logical units to the reference device (mapping mode, window, viewport, world
// transformation), saving and the current position.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "metafile/emf_context.h"

namespace qm {

namespace {

// Mapping modes with fixed units ([MS-EMF] 2.1.21): millimetres per logical unit; y grows
// upward in all of them.
constexpr uint32_t kMapLoMetric = 2;
constexpr uint32_t kMapHiMetric = 3;
constexpr uint32_t kMapLoEnglish = 4;
constexpr uint32_t kMapHiEnglish = 5;
constexpr uint32_t kMapTwips = 6;
constexpr double kMmPerInch = 25.4;

// ModifyWorldTransform modes ([MS-EMF] 2.1.24).
constexpr uint32_t kWorldIdentity = 1;
constexpr uint32_t kWorldLeftMultiply = 2;
constexpr uint32_t kWorldRightMultiply = 3;
constexpr uint32_t kWorldSet = 4;

double MmPerUnit(uint32_t mode) {
    switch (mode) {
        case kMapLoMetric:
            return 0.1;
        case kMapHiMetric:
            return 0.01;
        case kMapLoEnglish:
            return kMmPerInch / 100;
        case kMapHiEnglish:
            return kMmPerInch / 1000;
        case kMapTwips:
            return kMmPerInch / 1440;
        default:
            return 0;
    }
}

bool ReadPair(ByteReader& r, double& x, double& y) {
    int32_t a = 0, b = 0;
    if (!r.I32(a) || !r.I32(b)) return false;
    x = a, y = b;
    return true;
}

// An XFORM: six 32-bit floats; matrices with infinities or NaN are refused.
bool ReadXform(ByteReader& r, cairo_matrix_t& m) {
    double values[6] = {};
    for (double& value : values) {
        uint32_t bits = 0;
        if (!r.U32(bits)) return false;
        value = std::bit_cast<float>(bits);
        if (!std::isfinite(value)) return false;
    }
    cairo_matrix_init(&m, values[0], values[1], values[2], values[3], values[4], values[5]);
    return true;
}

bool ReadU32Into(ByteReader& r, uint16_t& target) {
    uint32_t value = 0;
    if (!r.U32(value)) return false;
    target = static_cast<uint16_t>(value);
    return true;
}

bool ReadColor(ByteReader& r, uint32_t& target) {
    uint32_t color = 0;
    if (!ReadColorRef(r, color)) return false;
    target = color & 0xFFFFFF;
    return true;
}

}  // namespace

void TWmfPlayer::UseEnhancedMapping(const cairo_matrix_t& deviceToPicture, double pixelScale,
                                    double deviceXPerMm, double deviceYPerMm) {
    enhanced_ = true;
    deviceToPicture_ = deviceToPicture;
    pixelScale_ = pixelScale;
    deviceXPerMm_ = deviceXPerMm;
    deviceYPerMm_ = deviceYPerMm;
    ApplyWindow();
}

cairo_matrix_t TWmfPlayer::LogicalToPicture() const {
    const TEmfMapping& m = dc_.Mapping;
    double sx = 1, sy = 1;
    if (const double mm = MmPerUnit(m.MapMode); mm > 0) {
        sx = mm * deviceXPerMm_;
        sy = -mm * deviceYPerMm_;
    } else if (m.MapMode == kMapIsotropic || m.MapMode == kMapAnisotropic) {
        sx = m.ViewportExtX / dc_.WindowExtX;
        sy = m.ViewportExtY / dc_.WindowExtY;
        if (m.MapMode == kMapIsotropic) {
            const double k = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(k, sx), sy = std::copysign(k, sy);
        }
    }
    cairo_matrix_t page;
    cairo_matrix_init(&page, sx, 0, 0, sy, m.ViewportOrgX - dc_.WindowOrgX * sx,
                      m.ViewportOrgY - dc_.WindowOrgY * sy);
    cairo_matrix_t worldPage, all;
    cairo_matrix_multiply(&worldPage, &m.World, &page);
    cairo_matrix_multiply(&all, &worldPage, &deviceToPicture_);
    return all;
}

bool PlayEmfSetBkMode(TWmfPlayer& p, ByteReader& r) {
    return ReadU32Into(r, p.Dc().BkMode);
}
bool PlayEmfSetPolyFillMode(TWmfPlayer& p, ByteReader& r) {
    return ReadU32Into(r, p.Dc().PolyFillMode);
}
bool PlayEmfSetRop2(TWmfPlayer& p, ByteReader& r) {
    return ReadU32Into(r, p.Dc().Rop2);
}
bool PlayEmfSetTextAlign(TWmfPlayer& p, ByteReader& r) {
    return ReadU32Into(r, p.Dc().TextAlign);
}
bool PlayEmfSetTextColor(TWmfPlayer& p, ByteReader& r) {
    return ReadColor(r, p.Dc().TextColor);
}
bool PlayEmfSetBkColor(TWmfPlayer& p, ByteReader& r) {
    return ReadColor(r, p.Dc().BkColor);
}

bool PlayEmfSetMapMode(TWmfPlayer& p, ByteReader& r) {
    if (!r.U32(p.Dc().Mapping.MapMode)) return false;
    p.ApplyWindow();
    return true;
}

bool PlayEmfSetWindowExt(TWmfPlayer& p, ByteReader& r) {
    double x = 0, y = 0;
    if (!ReadPair(r, x, y)) return false;
    // A zero extent would fold everything onto one line; Windows refuses it too.
    if (x == 0 || y == 0) return true;
    p.Dc().WindowExtX = x, p.Dc().WindowExtY = y;
    p.ApplyWindow();
    return true;
}

bool PlayEmfSetWindowOrg(TWmfPlayer& p, ByteReader& r) {
    if (!ReadPair(r, p.Dc().WindowOrgX, p.Dc().WindowOrgY)) return false;
    p.ApplyWindow();
    return true;
}

bool PlayEmfSetViewportExt(TWmfPlayer& p, ByteReader& r) {
    double x = 0, y = 0;
    if (!ReadPair(r, x, y)) return false;
    if (x == 0 || y == 0) return true;
    p.Dc().Mapping.ViewportExtX = x, p.Dc().Mapping.ViewportExtY = y;
    p.ApplyWindow();
    return true;
}

bool PlayEmfSetViewportOrg(TWmfPlayer& p, ByteReader& r) {
    TEmfMapping& m = p.Dc().Mapping;
    if (!ReadPair(r, m.ViewportOrgX, m.ViewportOrgY)) return false;
    p.ApplyWindow();
    return true;
}

bool PlayEmfSetWorldTransform(TWmfPlayer& p, ByteReader& r) {
    cairo_matrix_t m;
    if (!ReadXform(r, m)) return !r.Failed();
    p.Dc().Mapping.World = m;
    p.ApplyWindow();
    return true;
}

bool PlayEmfModifyWorldTransform(TWmfPlayer& p, ByteReader& r) {
    cairo_matrix_t m;
    uint32_t mode = 0;
    const bool usable = ReadXform(r, m);
    r.Seek(8 + 24);  // the mode follows the matrix, whether or not the matrix is usable
    if (!r.U32(mode)) return false;
    cairo_matrix_t& world = p.Dc().Mapping.World;
    const cairo_matrix_t current = world;
    if (mode == kWorldIdentity) {
        cairo_matrix_init_identity(&world);
    } else if (!usable) {
        return true;
    } else if (mode == kWorldLeftMultiply) {
        cairo_matrix_multiply(&world, &m, &current);
    } else if (mode == kWorldRightMultiply) {
        cairo_matrix_multiply(&world, &current, &m);
    } else if (mode == kWorldSet) {
        world = m;
    }
    p.ApplyWindow();
    return true;
}

bool PlayEmfSaveDc(TWmfPlayer& p, ByteReader&) {
    p.Save();
    return true;
}

bool PlayEmfRestoreDc(TWmfPlayer& p, ByteReader& r) {
    int32_t level = 0;
    if (!r.I32(level)) return false;
    // Only counts back from the current level mean anything here; others are ignored.
    if (level < 0 && level >= INT16_MIN) p.Restore(static_cast<int16_t>(level));
    return true;
}

bool PlayEmfMoveTo(TWmfPlayer& p, ByteReader& r) {
    double x = 0, y = 0;
    if (!ReadPair(r, x, y)) return false;
    p.Dc().Position = {x, y};
    if (p.PathOpen()) cairo_move_to(p.Cr(), x, y);
    return true;
}

}  // namespace qm
