#include "pdf/pdf_font_subset.h"

#include <hb-subset.h>
#include <hb.h>

#include <map>
#include <memory>

#include "raster/font_program.h"
#include "raster/hb_face_cache.h"
#include "raster/hb_handles.h"

namespace qm {

namespace {

struct TInputFree {
    void operator()(hb_subset_input_t* input) const { hb_subset_input_destroy(input); }
};
using TBlob = THbBlob;
using TFace = THbFace;

// The face of the program, or null when the bytes hold no face with glyphs. HarfBuzz reads the
// bytes in place; program must outlive the face.
TFace OpenFace(const TFontProgram& program) {
    if (program.Bytes.empty() || program.FaceIndex < 0) return nullptr;
    TBlob blob(hb_blob_create_or_fail(reinterpret_cast<const char*>(program.Bytes.data()),
                                      static_cast<unsigned>(program.Bytes.size()),
                                      HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    // A plain font file answers for any index; only a face that is there may be embedded.
    if (!blob || static_cast<unsigned>(program.FaceIndex) >= hb_face_count(blob.get()))
        return nullptr;
    TFace face(hb_face_create(blob.get(), static_cast<unsigned>(program.FaceIndex)));
    if (!face || hb_face_get_glyph_count(face.get()) == 0) return nullptr;
    return face;
}

bool HasTable(hb_face_t* face, hb_tag_t tag) {
    TBlob table(hb_face_reference_table(face, tag));
    return table && hb_blob_get_length(table.get()) > 0;
}

TOutlineFormat FormatOf(hb_face_t* face) {
    if (HasTable(face, HB_TAG('g', 'l', 'y', 'f'))) return TOutlineFormat::TrueType;
    if (HasTable(face, HB_TAG('C', 'F', 'F', ' '))) return TOutlineFormat::Cff;
    return TOutlineFormat::None;
}

}  // namespace

TOutlineFormat EmbeddableFormat(const TFontProgram& program) {
    const TFace face = OpenFace(program);
    return face ? FormatOf(face.get()) : TOutlineFormat::None;
}

namespace {

// The subset keeps every glyph id (unused glyphs empty), except for a CIDFont (cidFont): its
// glyphs are numbered anew in the order of their old ids, and the subset is its bare CFF table.
TFontSubset SubsetFace(hb_face_t* face, TOutlineFormat format, const std::vector<uint32_t>& glyphs,
                       const std::vector<char32_t>& codes, bool cidFont) {
    TFontSubset subset;
    std::unique_ptr<hb_subset_input_t, TInputFree> input(hb_subset_input_create_or_fail());
    if (!input) return subset;
    hb_set_t* glyphSet = hb_subset_input_glyph_set(input.get());
    // The missing glyph is always kept; naming it would make a subset by code points alone
    // search the whole character map.
    if (!glyphs.empty()) hb_set_add(glyphSet, 0);
    const unsigned count = hb_face_get_glyph_count(face);
    for (const uint32_t glyph : glyphs) {
        if (glyph < count) hb_set_add(glyphSet, glyph);
    }
    hb_set_t* unicodes = hb_subset_input_unicode_set(input.get());
    for (const char32_t code : codes)
        hb_set_add(unicodes, static_cast<hb_codepoint_t>(code));
    // The layout tables a PDF viewer never reads go, and with them the glyphs their
    // substitutions would pull in.
    unsigned flags = HB_SUBSET_FLAGS_NOTDEF_OUTLINE;
    if (!cidFont) flags |= HB_SUBSET_FLAGS_RETAIN_GIDS;
    hb_subset_input_set_flags(input.get(), flags);
    for (const hb_tag_t drop :
         {HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'), HB_TAG('G', 'D', 'E', 'F'),
          HB_TAG('B', 'A', 'S', 'E'), HB_TAG('J', 'S', 'T', 'F'), HB_TAG('M', 'A', 'T', 'H')}) {
        hb_set_add(hb_subset_input_set(input.get(), HB_SUBSET_SETS_DROP_TABLE_TAG), drop);
    }
    const TFace result(hb_subset_or_fail(face, input.get()));
    if (!result) return subset;
    const TBlob bytes(cidFont ? hb_face_reference_table(result.get(), HB_TAG('C', 'F', 'F', ' '))
                              : hb_face_reference_blob(result.get()));
    unsigned length = 0;
    const char* data = bytes ? hb_blob_get_data(bytes.get(), &length) : nullptr;
    if (data == nullptr || length == 0) return subset;
    subset.Format = cidFont ? TOutlineFormat::CidCff : format;
    subset.Bytes.assign(data, length);
    return subset;
}

// The code points whose glyphs in the face's character map are the glyphs shown (the missing
// glyph aside); empty when a glyph shown is not the map's glyph for its text.
std::vector<char32_t> CodesOfGlyphs(hb_face_t* face,
                                    const std::map<uint32_t, std::u32string>& shown) {
    std::vector<char32_t> codes;
    const THbFont font(hb_font_create(face));
    for (const auto& [glyph, text] : shown) {
        if (glyph == 0) continue;
        // A shaped glyph (a ligature, a contextual form, a glyph without text of its own) is no
        // character's nominal glyph.
        hb_codepoint_t mapped = 0;
        if (text.size() != 1 ||
            !hb_font_get_nominal_glyph(font.get(), static_cast<hb_codepoint_t>(text[0]), &mapped) ||
            mapped != glyph)
            return {};
        codes.push_back(text[0]);
    }
    return codes;
}

}  // namespace

TFontSubset SubsetFont(const TFontProgram& program, const std::vector<uint32_t>& glyphs,
                       const std::vector<char32_t>& codes) {
    const TFace face = OpenFace(program);
    if (!face) return {};
    const TOutlineFormat format = FormatOf(face.get());
    if (format == TOutlineFormat::None) return {};
    return SubsetFace(face.get(), format, glyphs, codes, false);
}

const TFontPrograms::TFace& TFontPrograms::Find(const TFont& font) {
    const auto known = faces_.find(font.Face());
    if (known != faces_.end()) return known->second;
    TFace face;
    const TFontSource source = FontSource(font);
    face.Program = CachedFontFace(source.File, source.FaceIndex);
    if (face.Program != nullptr) face.Format = FormatOf(face.Program);
    if (face.Format == TOutlineFormat::None) face.Program = nullptr;
    // A CIDFont's charset names each glyph by its CID, and a subset keeps them. Kept glyph ids
    // would give a subset of a 65,535-glyph CJK face some 750 kB of offsets and metrics for the
    // glyphs it lacks, which take longer to make and compress than the glyphs shown.
    face.CidFont = face.Format == TOutlineFormat::Cff && source.CidKeyed;
    return faces_.emplace(font.Face(), face).first->second;
}

TOutlineFormat TFontPrograms::Format(const TFont& font) {
    return Find(font).Format;
}

TFontSubset TFontPrograms::Subset(const TFont& font, const std::vector<uint32_t>& glyphs,
                                  const std::vector<char32_t>& codes) {
    const TFace& face = Find(font);
    if (face.Format == TOutlineFormat::None) return {};
    return SubsetFace(face.Program, face.Format, glyphs, codes, face.CidFont);
}

TFontSubset TFontPrograms::SubsetShown(const TFont& font,
                                       const std::map<uint32_t, std::u32string>& shown) {
    const TFace& face = Find(font);
    if (face.Format == TOutlineFormat::None) return {};
    if (face.CidFont) {
        // The subsetter finds the glyphs of code points at once, but the code points of glyphs
        // only by reading the whole character map (some 3 ms for a CJK face, per subset). A
        // CIDFont subset is the bare CFF program, which holds no character map: when each glyph
        // shown is the map's glyph for its text, the texts name the same glyphs.
        const std::vector<char32_t> codes = CodesOfGlyphs(face.Program, shown);
        if (!codes.empty()) return SubsetFace(face.Program, face.Format, {}, codes, true);
    }
    std::vector<uint32_t> glyphs;
    for (const auto& [glyph, text] : shown)
        glyphs.push_back(glyph);
    return SubsetFace(face.Program, face.Format, glyphs, {}, face.CidFont);
}

}  // namespace qm
