// The first step of a layout pass: characters that were never measured get their size.
#include <span>
#include <vector>

#include "model/asian_gap.h"
#include "model/layout_pass.h"
#include "raster/text_shaping.h"

namespace qm {

namespace {

// Kept paragraph, line and page ends in table cells are marks the line breaking consumes; they
// are never shown and keep no size.
bool IsKeptEnd(const TCharRec& ch) {
    return ch.Code >= 13 && ch.Code <= 15;
}

// Text characters are measured once: a measured one has a height. Pictures (Kind 1) carry their
// own size.
bool Unmeasured(const TCharRec& ch) {
    return ch.Kind == 0 && ch.Height == 0 && !IsKeptEnd(ch);
}

// The end of the run of characters from `start` on that is shaped as one: printable characters
// of one font entry that need shaping, or that carry a combining mark. `start` itself when the
// character there is measured on its own.
size_t ShapedRunEnd(const std::vector<TCharRec>& chars, size_t start) {
    auto joins = [&](size_t k) {
        return k < chars.size() && Unmeasured(chars[k]) && chars[k].Code >= 32 &&
               chars[k].FontIndex == chars[start].FontIndex;
    };
    size_t end = start;
    while (joins(end) && (NeedsShaping(chars[end].Code) ||
                          (joins(end + 1) && IsCombiningMark(chars[end + 1].Code))))
        ++end;
    return end;
}

// Measures the line's new characters: shaped runs as one, the others one by one. A new
// character's width also holds the gap that separates it from the East Asian text, Latin letter
// or digit after it; a table cell's line holds several paragraphs, each from a kept paragraph
// end on with its own format.
void MeasureLine(TDocument& doc, TLineRec& line) {
    std::vector<bool> isNew(line.Chars.size(), false);
    for (size_t i = 0; i < line.Chars.size();) {
        if (!Unmeasured(line.Chars[i])) {
            ++i;
            continue;
        }
        const size_t end = ShapedRunEnd(line.Chars, i);
        if (end == i) {
            isNew[i] = true;
            doc.RenderChar(line.Chars[i++]);
            continue;
        }
        doc.ShapeChars(std::span<TCharRec>(line.Chars).subspan(i, end - i));
        for (; i < end; ++i)
            isNew[i] = true;
    }
    const TParaFormat* para = &line.Para;
    for (size_t i = 0; i < line.Chars.size(); ++i) {
        const TCharRec& ch = line.Chars[i];
        if (i > 0 && isNew[i - 1])
            line.Chars[i - 1].Width += AsianGapMm(doc, *para, line.Chars[i - 1], ch);
        if (ch.Kind == 0 && ch.Code == 13 && ch.ParaCopy) para = ch.ParaCopy.get();
    }
}

}  // namespace

void MeasureNewCharacters(TDocument& doc) {
    // Only dirty lines can hold new characters.
    for (TFieldRec& field : doc.Fields) {
        if (field.Kind > kFieldFooter) continue;
        for (TLineRec& line : field.Lines) {
            if (line.Dirty) MeasureLine(doc, line);
        }
    }
}

}  // namespace qm
