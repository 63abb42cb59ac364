// The fonts a document's text uses, numbered in order of first use: entry k (1-based) is the
// page resource "/Fk". At the end of the document every entry writes its font objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_object_writer.h"

namespace qm {

// How an entry is written and what the bytes of its text mean.
enum class TPDFFontKind : uint8_t {
    // A simple TrueType font, not embedded, with /WinAnsiEncoding and widths for its
    // Windows-1252 range (PDF Reference 1.3, 5.5.2 and 5.7): one object per entry. The text
    // shown in it is Windows-1252 bytes. The PDF page surface encodes each run before it
    // reaches the canvas (Cp1252Encode), so a code point the code page lacks is shown as '?'.
    WinAnsi,
};

struct TPDFFontEntry {
    std::string Name;   // the face name as the document asks for it
    uint8_t Style = 0;  // kStyleBold, kStyleItalic, kStyleUnderline, kStyleStrikeOut
    TPDFFontKind Kind = TPDFFontKind::WinAnsi;

    // Names compare byte for byte and styles in all four bits, so an underlined face is an
    // entry of its own.
    bool Matches(std::string_view name, uint8_t style, TPDFFontKind kind) const {
        return Style == style && Kind == kind && Name == name;
    }
};

class TPDFFontTable {
  public:
    // The 1-based number of the entry for this face, style and kind, added when new. Asked once
    // per text run, and runs mostly keep their font, so the entry found last is tried first.
    int32_t FindOrAdd(std::string_view name, uint8_t style, TPDFFontKind kind) {
        if (lastFound_ < entries_.size() && entries_[lastFound_].Matches(name, style, kind))
            return static_cast<int32_t>(lastFound_ + 1);
        return FindOrAddSlow(name, style, kind);
    }

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
    int32_t FindOrAddSlow(std::string_view name, uint8_t style, TPDFFontKind kind);
    static int32_t ObjectsOf(TPDFFontKind kind);

    std::vector<TPDFFontEntry> entries_;
    size_t lastFound_ = 0;
};

}  // namespace qm
