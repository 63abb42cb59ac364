// Glyph bitmaps and outlines through FreeType. The face is shared by every font that resolves to
// it, so each use of its glyph slot and size holds the face's lock.
#include "raster/glyph_shapes.h"

#include <algorithm>
#include <initializer_list>
#include <mutex>

#include "raster/font_cache.h"

#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_ADVANCES_H

namespace qm {

namespace {

TOutlinePoint PointOf(const FT_Vector* v) {
    return {static_cast<int32_t>(v->x), static_cast<int32_t>(v->y)};
}

int AddSegment(void* user, TSegmentKind kind, std::initializer_list<const FT_Vector*> points) {
    TOutlineSegment segment;
    segment.Kind = kind;
    size_t i = 0;
    for (const FT_Vector* point : points)
        segment.Points[i++] = PointOf(point);
    static_cast<std::vector<TOutlineSegment>*>(user)->push_back(segment);
    return 0;
}

int MoveTo(const FT_Vector* to, void* user) {
    return AddSegment(user, TSegmentKind::Move, {to});
}
int LineTo(const FT_Vector* to, void* user) {
    return AddSegment(user, TSegmentKind::Line, {to});
}
int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    return AddSegment(user, TSegmentKind::Conic, {control, to});
}
int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    return AddSegment(user, TSegmentKind::Cubic, {c1, c2, to});
}

void CopyBitmap(const FT_GlyphSlot slot, TGlyphCoverage& glyph) {
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = static_cast<int32_t>(bitmap.width);
    glyph.Height = static_cast<int32_t>(bitmap.rows);
    glyph.Coverage.resize(static_cast<size_t>(glyph.Width) * glyph.Height);
    for (int32_t row = 0; row < glyph.Height; ++row) {
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        std::copy(src, src + glyph.Width, glyph.Coverage.begin() + row * glyph.Width);
    }
}

}  // namespace

TGlyphCoverage GlyphCoverage(const TFont& font, uint32_t glyph) {
    TGlyphCoverage coverage;
    if (!font.Valid() || font.PixelSize() <= 0) return coverage;
    TLoadedFace& loaded = *font.Face()->Loaded;
    std::lock_guard lock(loaded.Lock);
    FT_Face face = loaded.Face.get();
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(font.PixelSize())) != 0) return coverage;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0) return coverage;
    FT_GlyphSlot slot = face->glyph;
    if (SyntheticBold(font)) FT_GlyphSlot_Embolden(slot);
    if (SyntheticItalic(font)) FT_GlyphSlot_Oblique(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return coverage;
    if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) CopyBitmap(slot, coverage);
    return coverage;
}

bool GlyphOutline(const TFont& font, uint32_t glyph, std::vector<TOutlineSegment>& segments) {
    segments.clear();
    if (!font.Valid()) return false;
    TLoadedFace& loaded = *font.Face()->Loaded;
    std::lock_guard lock(loaded.Lock);
    FT_Face face = loaded.Face.get();
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (SyntheticBold(font)) {
        FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(face->units_per_EM / 24.0));
    }
    static const FT_Outline_Funcs kFuncs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    // A malformed outline stops part way; what was decomposed up to there is kept.
    FT_Outline_Decompose(&slot->outline, &kFuncs, &segments);
    return true;
}

int32_t DesignAdvance(const TFont& font, uint32_t glyph) {
    if (!font.Valid()) return 0;
    TLoadedFace& loaded = *font.Face()->Loaded;
    std::lock_guard lock(loaded.Lock);
    FT_Fixed units = 0;
    FT_Get_Advance(loaded.Face.get(), glyph, FT_LOAD_NO_SCALE, &units);
    return static_cast<int32_t>(units);
}

int32_t UnitsPerEm(const TFont& font) {
    return font.Valid() ? font.Face()->Loaded->Units.UnitsPerEm : 0;
}

}  // namespace qm
