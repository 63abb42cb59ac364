#include "pdf/pdf_font_table.h"

#include "pdf/pdf_font_subset.h"
#include "pdf/pdf_fonts.h"
#include "pdf/pdf_number.h"

namespace qm {

int32_t TPDFFontTable::FindOrAddSlow(std::string_view name, uint8_t style, TPDFFontKind kind,
                                     uint8_t familyClass) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].Matches(name, style, kind, familyClass)) {
            lastFound_ = i;
            return static_cast<int32_t>(i + 1);
        }
    }
    TPDFFontEntry entry;
    entry.Name = std::string(name);
    entry.Style = style;
    entry.Kind = kind;
    entry.FamilyClass = familyClass;
    entries_.push_back(std::move(entry));
    lastFound_ = entries_.size() - 1;
    return static_cast<int32_t>(entries_.size());
}

int32_t TPDFFontTable::FindOrAddType0(const TFont& face, uint8_t style) {
    if (!face.Valid()) return 0;
    const uint8_t faceStyle = style & kFaceStyleBits;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TPDFFontEntry& entry = entries_[i];
        if (entry.Kind == TPDFFontKind::Type0 && entry.Face.Face() == face.Face() &&
            entry.Style == faceStyle)
            return static_cast<int32_t>(i + 1);
    }
    if (!CanEmbed(face)) return 0;
    TPDFFontEntry entry;
    entry.Name = face.ActualFamily();
    entry.Style = faceStyle;
    entry.Kind = TPDFFontKind::Type0;
    entry.Face = face;
    entries_.push_back(std::move(entry));
    return static_cast<int32_t>(entries_.size());
}

bool TPDFFontTable::CanEmbed(const TFont& face) const {
    return programs_.Format(face) != TOutlineFormat::None;
}

bool TPDFFontTable::EmbedsSimple(const TPDFFontEntry& entry) const {
    // A simple TrueType font can only carry TrueType outlines.
    return embedAll_ && entry.Kind == TPDFFontKind::WinAnsi &&
           programs_.Format(SimpleFontFace(entry.Name, entry.Style, entry.FamilyClass)) ==
               TOutlineFormat::TrueType;
}

void TPDFFontTable::UseBytes(int32_t number, std::string_view text) {
    if (number < 1 || static_cast<size_t>(number) > entries_.size()) return;
    std::bitset<256>& bytes = entries_[static_cast<size_t>(number - 1)].Bytes;
    for (const char ch : text)
        bytes.set(static_cast<uint8_t>(ch));
}

void TPDFFontTable::UseGlyph(int32_t number, uint32_t glyph, std::u32string_view text) {
    if (number < 1 || static_cast<size_t>(number) > entries_.size()) return;
    // The first text a glyph stood for is the one extraction gives back; a glyph first met
    // without a text of its own takes the first it is given.
    std::u32string& known = entries_[static_cast<size_t>(number - 1)].Glyphs[glyph];
    if (known.empty()) known = text;
}

int32_t TPDFFontTable::ObjectsOf(const TPDFFontEntry& entry) const {
    switch (entry.Kind) {
        case TPDFFontKind::WinAnsi:
            return EmbedsSimple(entry) ? 2 : 1;
        case TPDFFontKind::Type0:
            return 5;
    }
    return 1;
}

int32_t TPDFFontTable::ObjectCount() const {
    int32_t count = 0;
    for (const TPDFFontEntry& entry : entries_)
        count += ObjectsOf(entry);
    return count;
}

void TPDFFontTable::AppendResources(std::string& out, int32_t firstObject) const {
    int64_t object = firstObject;
    for (size_t k = 1; k <= entries_.size(); ++k) {
        out += "/F";
        AppendInt(out, static_cast<int64_t>(k));
        out += ' ';
        AppendInt(out, object);
        out += " 0 R";
        object += ObjectsOf(entries_[k - 1]);
    }
}

void TPDFFontTable::WriteObjects(TPDFObjectWriter& out) const {
    for (const TPDFFontEntry& entry : entries_) {
        switch (entry.Kind) {
            case TPDFFontKind::WinAnsi:
                if (EmbedsSimple(entry)) {
                    WriteWinAnsiFontObject(out, entry.Name, entry.Style, entry.FamilyClass,
                                           &entry.Bytes, &programs_);
                } else {
                    WriteWinAnsiFontObject(out, entry.Name, entry.Style, entry.FamilyClass);
                }
                break;
            case TPDFFontKind::Type0:
                WriteType0FontObjects(out, entry, programs_);
                break;
        }
        out.ObjectFinished();
    }
}

void TPDFFontTable::Clear() {
    entries_.clear();
    lastFound_ = 0;
    programs_.Clear();
}

}  // namespace qm
