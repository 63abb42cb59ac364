// The first step of a layout pass: characters that were never measured get their size.
#include "model/asian_gap.h"
#include "model/layout_pass.h"

namespace qm {

namespace {

// Kept paragraph, line and page ends in table cells are marks the line breaking consumes; they
// are never shown and keep no size.
bool IsKeptEnd(const TCharRec& ch) {
    return ch.Code >= 13 && ch.Code <= 15;
}

// Measures the line's new characters. A new character's width also holds the gap that
// separates it from the East Asian text, Latin letter or digit after it; a table cell's line
// holds several paragraphs, each from a kept paragraph end on with its own format.
void MeasureLine(TDocument& doc, TLineRec& line) {
    const TParaFormat* para = &line.Para;
    bool previousNew = false;
    for (size_t i = 0; i < line.Chars.size(); ++i) {
        TCharRec& ch = line.Chars[i];
        const bool isNew = ch.Kind == 0 && ch.Height == 0 && !IsKeptEnd(ch);
        if (isNew) doc.RenderChar(ch);
        if (previousNew) line.Chars[i - 1].Width += AsianGapMm(doc, *para, line.Chars[i - 1], ch);
        if (ch.Kind == 0 && ch.Code == 13 && ch.ParaCopy) para = ch.ParaCopy.get();
        previousNew = isNew;
    }
}

}  // namespace

void MeasureNewCharacters(TDocument& doc) {
    // Text characters are measured once: a measured one has a height. Pictures (Kind 1) carry
    // their own size. Only dirty lines can hold new characters.
    for (TFieldRec& field : doc.Fields) {
        if (field.Kind > kFieldFooter) continue;
        for (TLineRec& line : field.Lines) {
            if (line.Dirty) MeasureLine(doc, line);
        }
    }
}

}  // namespace qm
