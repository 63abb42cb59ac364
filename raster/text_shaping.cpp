#include "raster/text_shaping.h"

#include <hb.h>

#include <map>
#include <memory>
#include <mutex>

#include "raster/font_cache.h"
#include "raster/hb_face_cache.h"
#include "raster/hb_handles.h"

namespace qm {

namespace {

// One HarfBuzz font per face for the process, scaled to its em so that positions come out in
// font units. HarfBuzz reads the mapped file on its own, not through FreeType, so shaping needs
// no lock on the FreeType face; a HarfBuzz font is safe to share between threads.
hb_font_t* HarfBuzzFont(const TLoadedFace& face) {
    static std::mutex lock;
    static std::map<const TLoadedFace*, THbFont> fonts;
    const std::lock_guard<std::mutex> guard(lock);
    auto found = fonts.find(&face);
    if (found != fonts.end()) return found->second.get();
    hb_font_t* font = nullptr;
    if (hb_face_t* hbFace = CachedFontFace(face.File, face.Index)) {
        font = hb_font_create(hbFace);
        const int upem = static_cast<int>(hb_face_get_upem(hbFace));
        hb_font_set_scale(font, upem, upem);
    }
    // A face that cannot be read is remembered as such.
    return fonts.emplace(&face, THbFont(font)).first->second.get();
}

bool IsComplexScript(hb_script_t script) {
    switch (script) {
        case HB_SCRIPT_ARABIC:
        case HB_SCRIPT_SYRIAC:
        case HB_SCRIPT_THAANA:
        case HB_SCRIPT_NKO:
        case HB_SCRIPT_MONGOLIAN:
        case HB_SCRIPT_DEVANAGARI:
        case HB_SCRIPT_BENGALI:
        case HB_SCRIPT_GURMUKHI:
        case HB_SCRIPT_GUJARATI:
        case HB_SCRIPT_ORIYA:
        case HB_SCRIPT_TAMIL:
        case HB_SCRIPT_TELUGU:
        case HB_SCRIPT_KANNADA:
        case HB_SCRIPT_MALAYALAM:
        case HB_SCRIPT_SINHALA:
        case HB_SCRIPT_THAI:
        case HB_SCRIPT_LAO:
        case HB_SCRIPT_TIBETAN:
        case HB_SCRIPT_MYANMAR:
        case HB_SCRIPT_KHMER:
        case HB_SCRIPT_JAVANESE:
        case HB_SCRIPT_BALINESE:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool IsCombiningMark(char32_t code) {
    if (code < 0x300) return false;  // no marks before the combining diacritics
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), code)) {
        case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
            return true;
        default:
            return false;
    }
}

bool NeedsShaping(char32_t code) {
    // Everything below the combining diacritics is Latin that is drawn glyph by glyph.
    if (code < 0x300) return false;
    return IsCombiningMark(code) ||
           IsComplexScript(hb_unicode_script(hb_unicode_funcs_get_default(), code));
}

std::vector<TShapedGlyph> ShapeText(const TFont& font, std::u32string_view text) {
    std::vector<TShapedGlyph> glyphs;
    if (!font.Valid() || text.empty() || text.size() > 0xFFFFF) return glyphs;
    hb_font_t* hbFont = HarfBuzzFont(*font.Face()->Loaded);
    if (hbFont == nullptr) return glyphs;
    const THbBuffer buffer(hb_buffer_create());
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(text.data()),
                        static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(hbFont, buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &count);
    int xScale = 0, yScale = 0;
    hb_font_get_scale(hbFont, &xScale, &yScale);
    const double em = xScale > 0 ? xScale : 1;
    glyphs.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        glyphs.push_back({info[i].codepoint, info[i].cluster, pos[i].x_advance / em,
                          pos[i].x_offset / em, pos[i].y_offset / em});
    }
    return glyphs;
}

}  // namespace qm
