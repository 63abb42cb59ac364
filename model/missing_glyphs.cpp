#include "model/missing_glyphs.h"

#include <optional>
#include <unordered_map>
#include <vector>

namespace qm {

namespace {

// Control codes (tabs, paragraph and cell marks, C1 controls) are not drawn as glyphs.
bool IsDrawnText(const TCharRec& ch) {
    return ch.Kind == 0 && ch.Code >= 0x20 && !(ch.Code >= 0x7F && ch.Code < 0xA0);
}

// Whether any face draws the code point in a font entry's font; remembered per entry and code.
class TCoverage {
  public:
    explicit TCoverage(const TDocument& doc) : doc_(doc), fonts_(doc.Fonts.size()) {}

    bool Covers(int32_t fontIndex, char32_t code) {
        if (fontIndex < 0 || fontIndex >= doc_.FontCount()) return true;
        const TFontRec& rec = doc_.Fonts[fontIndex];
        if (rec.Attrib & (kAttribAllCaps | kAttribSmallCaps)) code = UpCase(code);
        TEntry& entry = fonts_[fontIndex];
        if (!entry.Font) {
            entry.Font = selfont(rec.Name, doc_.PrinterDPI, 100.0, rec.Size, rec.Style, rec.Charset,
                                 rec.FamilyClass);
        }
        auto [it, inserted] = entry.Found.try_emplace(code, false);
        if (inserted) it->second = ResolveGlyph(*entry.Font, code).Found;
        return it->second;
    }

  private:
    struct TEntry {
        std::optional<TFont> Font;
        std::unordered_map<char32_t, bool> Found;
    };
    const TDocument& doc_;
    std::vector<TEntry> fonts_;
};

}  // namespace

int64_t CountMissingGlyphs(const TDocument& doc) {
    TCoverage coverage(doc);
    int64_t missing = 0;
    for (const TFieldRec& field : doc.Fields) {
        for (const TLineRec& line : field.Lines) {
            for (const TCharRec& ch : line.Chars) {
                if (IsDrawnText(ch) && !coverage.Covers(ch.FontIndex, ch.Code)) ++missing;
            }
        }
    }
    return missing;
}

void ReportMissingGlyphs(const TDocument& doc, TNotices& notices) {
    TNotice notice;
    notice.Kind = TNoticeKind::CharacterShown;
    notice.Noun = "character";
    notice.Nouns = "characters";
    notice.Verb = "has";
    notice.Verbs = "have";
    notice.What = "no glyph in the installed fonts.";
    notice.Count = CountMissingGlyphs(doc);
    notices.Add(notice);
}

}  // namespace qm
