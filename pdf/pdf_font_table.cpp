#include "pdf/pdf_font_table.h"

#include "pdf/pdf_font_subset.h"
#include "pdf/pdf_fonts.h"
#include "pdf/pdf_number.h"

namespace qm {

int32_t TPDFFontTable::FindOrAddSlow(std::string_view name, uint8_t style, TPDFFontKind kind) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].Matches(name, style, kind)) {
            lastFound_ = i;
            return static_cast<int32_t>(i + 1);
        }
    }
    entries_.push_back(TPDFFontEntry{std::string(name), style, kind, TFont(), {}});
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

bool TPDFFontTable::CanEmbed(const TFont& face) {
    if (!face.Valid()) return false;
    const auto known = embeddable_.find(face.Face());
    if (known != embeddable_.end()) return known->second;
    const bool embeddable = EmbeddableFormat(face) != TOutlineFormat::None;
    embeddable_.emplace(face.Face(), embeddable);
    return embeddable;
}

void TPDFFontTable::UseGlyph(int32_t number, uint32_t glyph, char32_t text) {
    if (number < 1 || static_cast<size_t>(number) > entries_.size()) return;
    // The first text a glyph stood for is the one extraction gives back.
    entries_[static_cast<size_t>(number - 1)].Glyphs.emplace(glyph, text);
}

int32_t TPDFFontTable::ObjectsOf(TPDFFontKind kind) {
    switch (kind) {
        case TPDFFontKind::WinAnsi:
            return 1;
        case TPDFFontKind::Type0:
            return 5;
    }
    return 1;
}

int32_t TPDFFontTable::ObjectCount() const {
    int32_t count = 0;
    for (const TPDFFontEntry& entry : entries_)
        count += ObjectsOf(entry.Kind);
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
        object += ObjectsOf(entries_[k - 1].Kind);
    }
}

void TPDFFontTable::WriteObjects(TPDFObjectWriter& out) const {
    for (const TPDFFontEntry& entry : entries_) {
        switch (entry.Kind) {
            case TPDFFontKind::WinAnsi:
                WriteWinAnsiFontObject(out, entry.Name, entry.Style);
                break;
            case TPDFFontKind::Type0:
                WriteType0FontObjects(out, entry);
                break;
        }
        out.ObjectFinished();
    }
}

void TPDFFontTable::Clear() {
    entries_.clear();
    lastFound_ = 0;
    embeddable_.clear();
}

}  // namespace qm
