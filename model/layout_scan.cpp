// The scan of one line: kept ends, tabs and the fit test.
#include <algorithm>

#include "model/break_chances.h"
#include "model/layout_lines.h"
#include "model/layout_tabs.h"

namespace qm {

namespace {

bool IsText(const TCharRec& ch, uint8_t code) {
    return ch.Kind == 0 && ch.Code == code;
}

}  // namespace

TLineBreak ScanLine(std::span<TCharRec* const> chars, double x, double width, const TLineRec& line,
                    TLayoutPass& pass) {
    TLineBreak result;
    const double limit = width - line.Para.RightIndent;
    size_t fullTab = chars.size();  // the tab cut back to end at the limit, if any
    for (size_t d = 0; d < chars.size(); ++d) {
        TCharRec& ch = *chars[d];
        if (ch.Kind == 0 && ch.Code >= 13 && ch.Code <= 15) {
            result.Kind = ch.Code - 12;
            result.Pos = d + 1;
            if (ch.Code == 13) {
                // Quirk: a kept paragraph end without its format leaves the line's format to
                // the text after it.
                pass.Doc.PendingPara = ch.ParaCopy ? *ch.ParaCopy : line.Para;
            }
            return result;
        }
        if (IsText(ch, 9)) {
            // A tab to one of the paragraph's own stops that lies beyond the line's end reaches
            // to the end and no further: such a tab does not wrap, only text after it can. A
            // default stop beyond the end wraps.
            const bool ownStop = SetTabWidth(chars, d, x, line.Para);
            if (ownStop && x < limit && x + ch.Width > limit) {
                ch.Width = limit - x;
                fullTab = d;
            }
        }
        // A space may stand beyond the edge; the first character stays however wide it is.
        if (x + ch.Width > limit && d > 0 && !IsText(ch, ' ')) {
            result.Kind = 0;
            result.Pos = d;
            result.AfterFullTab = fullTab + 1 == d;
            return result;
        }
        x += ch.Width;
        // A line is as high as its tallest font's single line: the character cell and the
        // font's external leading above it.
        result.Height = std::max(result.Height, ch.Height + ch.Leading);
        pass.Font.Use(ch.FontIndex);
    }
    return result;
}

size_t BetterBreak(std::span<TCharRec* const> chars, size_t pos) {
    size_t plain = 0;  // none
    for (size_t i = pos; i-- > 0;) {
        const TCharRec& ch = *chars[i];
        if (IsText(ch, 9) && i > 0) {
            plain = i;
            break;
        }
        if (IsText(ch, ' ') || IsText(ch, '-') || (ch.Kind == 0 && ch.Code == kSoftHyphen)) {
            plain = i + 1;
            break;
        }
    }
    // Text outside Windows-1252 after the plain break may break later (ideographs need no
    // spaces). With no break at all, the line is cut at the character that overflows, so no
    // text runs past the edge.
    const size_t wide = LastWideBreak(chars, plain, pos);
    if (wide > plain) return wide;
    return plain > 0 ? plain : pos;
}

double SpacedLineHeight(double tallest, const TParaFormat& para, TMeasuringFont& font) {
    double height = tallest;
    if (tallest == -1)
        height = para.MarkFont >= 0 ? font.BlankHeightMm(para.MarkFont) : font.BlankHeightMm();
    switch (para.LineSpacingRule) {
        case 0:
            height *= para.LineSpacing;
            break;
        case 1:
            if (height < para.LineSpacing) height = para.LineSpacing;
            break;
        case 2:
            height = para.LineSpacing;
            break;
        default:
            break;
    }
    return height;
}

}  // namespace qm
