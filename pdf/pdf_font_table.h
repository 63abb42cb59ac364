// The fonts a document's text uses, numbered in order of first use: entry k (1-based) is the
// page resource "/Fk". At the end of the document every entry writes its font objects.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_font_subset.h"
#include "pdf/pdf_object_writer.h"
#include "raster/font.h"

namespace qm {

// How an entry is written and what the bytes of its text mean.
enum class TPDFFontKind : uint8_t {
    // A simple TrueType font, not embedded, with /WinAnsiEncoding and widths for its
    // Windows-1252 range (PDF Reference 1.3, 5.5.2 and 5.7): one object per entry. The text
    // shown in it is Windows-1252 bytes; the writer shows code points the code page lacks in a
    // Type 0 font.
    WinAnsi,
    // A composite font of one face (PDF Reference 1.3, 5.6): Identity-H, so the text shown in
    // it is 2-byte glyph ids of that face; its descendant CIDFont has a subset of the face's
    // program embedded and a ToUnicode CMap gives each glyph its text. Five objects: the Type 0
    // font, the CIDFont, its descriptor, the font program and the CMap.
    Type0,
};

struct TPDFFontEntry {
    std::string Name;   // the face name as the document asks for it
    uint8_t Style = 0;  // kStyleBold, kStyleItalic, kStyleUnderline, kStyleStrikeOut
    uint8_t FamilyClass = kFamilyUnknown;  // WinAnsi: what stands in when the face is missing
    TPDFFontKind Kind = TPDFFontKind::WinAnsi;
    // Type0 only: the face (at any size) and the glyphs shown in it with the Unicode text each
    // stands for, collected while the pages are written.
    TFont Face;
    // A glyph of a shaped cluster may stand for several characters (a ligature) or for none of
    // its own (a second glyph of one character): its text is then empty.
    std::map<uint32_t, std::u32string> Glyphs;
    // WinAnsi only, when fonts are embedded: the bytes shown in it.
    std::bitset<256> Bytes;

    // Names compare byte for byte and styles in all four bits, so an underlined face is an
    // entry of its own.
    bool Matches(std::string_view name, uint8_t style, TPDFFontKind kind,
                 uint8_t familyClass) const {
        return Style == style && Kind == kind && FamilyClass == familyClass && Name == name;
    }
};

// The style bits that choose a face: a Type 0 font is one face, whatever the decoration.
inline constexpr uint8_t kFaceStyleBits = kStyleBold | kStyleItalic;

class TPDFFontTable {
  public:
    // The 1-based number of the entry for this face, style and kind, added when new. Asked once
    // per text run, and runs mostly keep their font, so the entry found last is tried first.
    // The family class tells what measures a face the machine lacks.
    int32_t FindOrAdd(std::string_view name, uint8_t style, TPDFFontKind kind,
                      uint8_t familyClass = kFamilyUnknown) {
        if (lastFound_ < entries_.size() &&
            entries_[lastFound_].Matches(name, style, kind, familyClass))
            return static_cast<int32_t>(lastFound_ + 1);
        return FindOrAddSlow(name, style, kind, familyClass);
    }

    // The number of the Type 0 entry of this face (the font ResolveGlyph gave) and style, added
    // when new; 0 when the face's program cannot be embedded (asked once per face).
    int32_t FindOrAddType0(const TFont& face, uint8_t style);
    // Whether the face's program can be embedded (read and subset); asked once per face.
    bool CanEmbed(const TFont& face) const;

    // Embeds a subset of every simple font's face too (when its program has TrueType
    // outlines): the simple font then refers to a font file object that follows it.
    void SetEmbedAll(bool embed) { embedAll_ = embed; }
    bool EmbedAll() const { return embedAll_; }
    // Records the bytes shown in WinAnsi entry `number`.
    void UseBytes(int32_t number, std::string_view text);
    // Records that a glyph of Type 0 entry `number` is shown, standing for `text`.
    void UseGlyph(int32_t number, uint32_t glyph, std::u32string_view text);

    size_t Count() const { return entries_.size(); }
    const std::vector<TPDFFontEntry>& Entries() const { return entries_; }

    // The number of objects WriteObjects writes.
    int32_t ObjectCount() const;
    // Appends the pages' font resources ("/F1 n 0 R/F2 m 0 R...", no separators) for objects
    // written from number firstObject on.
    void AppendResources(std::string& out, int32_t firstObject) const;
    // Writes every entry's objects in table order; each entry's font dictionary comes first.
    void WriteObjects(TPDFObjectWriter& out) const;

    void Clear();

  private:
    int32_t FindOrAddSlow(std::string_view name, uint8_t style, TPDFFontKind kind,
                          uint8_t familyClass);
    int32_t ObjectsOf(const TPDFFontEntry& entry) const;
    // Whether a WinAnsi entry has its face's program embedded.
    bool EmbedsSimple(const TPDFFontEntry& entry) const;

    std::vector<TPDFFontEntry> entries_;
    size_t lastFound_ = 0;
    bool embedAll_ = false;
    // The programs of the faces met so far and whether each can be embedded.
    mutable TFontPrograms programs_;
};

}  // namespace qm
