// The first step of a layout pass: characters that were never measured get their size.
#include "model/layout_pass.h"

namespace qm {

namespace {

// Kept paragraph, line and page ends in table cells are marks the line breaking consumes; they
// are never shown and keep no size.
bool IsKeptEnd(const TCharRec& ch) {
    return ch.Code >= 13 && ch.Code <= 15;
}

}  // namespace

void MeasureNewCharacters(TDocument& doc) {
    // Text characters are measured once: a measured one has a height. Pictures (Kind 1) carry
    // their own size. Only dirty lines can hold new characters.
    for (TFieldRec& field : doc.Fields) {
        if (field.Kind > kFieldFooter) continue;
        for (TLineRec& line : field.Lines) {
            if (!line.Dirty) continue;
            for (TCharRec& ch : line.Chars) {
                if (ch.Kind == 0 && ch.Height == 0 && !IsKeptEnd(ch)) doc.RenderChar(ch);
            }
        }
    }
}

}  // namespace qm
