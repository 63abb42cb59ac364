#include "word/story.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "base/cp1252.h"
#include "word/cp1252.h"
#include "word/import_context.h"
#include "word/model_output.h"
#include "word/property_update.h"
#include "word/section.h"

namespace qm {

namespace {

constexpr uint8_t kPictureAnchor = 1;
constexpr uint8_t kCellMark = 7;
constexpr uint8_t kTab = 9;
constexpr uint8_t kLineBreak = 11;
constexpr uint8_t kPageBreak = 12;  // also the section mark
constexpr uint8_t kParagraphEnd = 13;
constexpr uint8_t kFieldBegin = 19;
constexpr uint8_t kFieldSeparator = 20;
constexpr uint8_t kFieldEnd = 21;
constexpr uint8_t kNonBreakingHyphen = 30;
constexpr uint8_t kOptionalHyphen = 31;
// The most characters reserved at once for a line (a damaged run may claim the whole stream).
constexpr size_t kMaxLineReserve = 4096;

// Reads the character at ctx.currentCP into code; false ends the story.
bool FetchChar(WordImportContext& ctx, uint8_t& code) {
    TTextPos pos;
    if (ctx.pieces.Count() == 0) {
        pos.Fc = static_cast<uint64_t>(ctx.fib.FcMin) + static_cast<uint64_t>(ctx.currentCP);
    } else if (!ctx.pieces.Map(ctx.currentCP, pos)) {
        return false;
    }
    ctx.currentFC = pos.Fc;
    ctx.currentWide = pos.Wide;
    const std::span<const uint8_t> stream = ctx.mainStream.Bytes();
    if (pos.Fc > stream.size()) {
        ctx.lastResult = kCfbSeekFault;
        return false;
    }
    const size_t width = pos.Wide ? 2 : 1;
    if (width > stream.size() - pos.Fc) {
        ctx.lastResult = kCfbReadFault;
        return false;
    }
    if (pos.Wide) {
        ctx.wideChar = static_cast<uint16_t>(stream[pos.Fc] | (stream[pos.Fc + 1] << 8));
        // Codes below 32 are control codes; anything else is converted to the model's
        // character set.
        code =
            ctx.wideChar < 32 ? static_cast<uint8_t>(ctx.wideChar) : Cp1252FromUtf16(ctx.wideChar);
    } else {
        code = stream[pos.Fc];
    }
    ctx.currentChar = code;
    return true;
}

// Progress through a story in percent, reported only when the value changes.
class TStoryProgress {
  public:
    TStoryProgress(TProgressSink* sink, int64_t first, int64_t last)
        : sink_(sink), first_(first), span_(last - first) {}

    void Report(int64_t cp) {
        if (!sink_ || span_ <= 0 || cp < next_) return;
        const int64_t percent = std::min<int64_t>(100 * (cp - first_) / span_, 100);
        sink_->SetProStatus(static_cast<int>(percent));
        // The first CP at which the percentage grows again.
        next_ = first_ + ((percent + 1) * span_ + 99) / 100;
    }

  private:
    TProgressSink* sink_;
    int64_t first_;
    int64_t span_;
    int64_t next_ = 0;
};

// Ends the current line with kind (1 paragraph, 2 line break, 3 page break) and moves the
// cursor to a new line appended at the end of the field.
void EndLine(WordImportContext& ctx, int32_t kind) {
    TDocument& doc = ctx.Doc;
    if (doc.CurField < 0 || doc.CurField >= doc.FieldCount()) return;
    TFieldRec& field = doc.Fields[doc.CurField];
    if (doc.CurLine == field.LineCount()) doc.InsertNewLine(doc.CurField, doc.CurLine);
    if (doc.CurLine < 0 || doc.CurLine >= field.LineCount()) return;
    field.Lines[doc.CurLine].EndKind = kind;
    doc.InsertNewLine(doc.CurField, field.LineCount());
    doc.CurLine += 1;
    doc.CurChar = 0;
    // A kept paragraph end's format copy belongs to the line just ended: the new line's text
    // writes its own format, also after table paragraphs that no cell mark closed.
    ctx.ParaFormatTarget = nullptr;
}

// The characters a paragraph's text will still bring, counted from its run of paragraph
// properties; 0 when unknown.
size_t RemainingInParagraph(const WordImportContext& ctx) {
    if (ctx.lastParaRun < 0) return 0;
    const uint32_t end = ctx.papxBins.Run(ctx.lastParaRun).End;
    if (end <= ctx.currentFC) return 0;
    return static_cast<size_t>((end - ctx.currentFC) / (ctx.currentWide ? 2 : 1));
}

// A line receives its paragraph's characters one by one; room for all of them at once saves
// growing the line's array step by step.
void ReserveLine(WordImportContext& ctx) {
    TDocument& doc = ctx.Doc;
    if (doc.CurField < 0 || doc.CurField >= doc.FieldCount()) return;
    TFieldRec& field = doc.Fields[doc.CurField];
    if (doc.CurLine < 0 || doc.CurLine >= field.LineCount()) return;
    std::vector<TCharRec>& chars = field.Lines[doc.CurLine].Chars;
    if (chars.capacity() != 0) return;
    chars.reserve(std::min(RemainingInParagraph(ctx), kMaxLineReserve));
}

void InsertTextChar(WordImportContext& ctx, uint8_t code) {
    TDocument& doc = ctx.Doc;
    ReserveLine(ctx);
    TCharRec* ch = doc.NewChar();
    if (!ch) return;
    ch->Code = Cp1252ToUnicode(code);  // FIXME: the reader still narrows 16-bit text first
    WriteParagraphFormat(ctx);
    MakeFontEntry(ctx, *ch);
    doc.RenderChar(*ch);
    doc.CurChar += 1;
}

void HandleBreak(WordImportContext& ctx, uint8_t code) {
    UpdateProperties(ctx, ctx.currentFC);
    if (ctx.Pap.FInTable) {
        KeepTableMark(ctx, code);
        return;
    }
    EndLine(ctx, code == kParagraphEnd ? 1 : code == kLineBreak ? 2 : 3);
}

}  // namespace

void HandleChar(WordImportContext& ctx, uint8_t code) {
    if (code == kFieldBegin) ctx.InFieldCode = true;
    if (code == kFieldSeparator || code == kFieldEnd) ctx.InFieldCode = false;
    if (code == kPageBreak && SectionStartsAt(ctx, ctx.currentCP)) {
        ApplySection(ctx, ctx.currentCP);
        if (ctx.Sep.Bkc == 0) return;  // a continuous section break ends no line
    }
    if (code == kLineBreak || code == kPageBreak || code == kParagraphEnd) {
        HandleBreak(ctx, code);
    } else if (code == kPictureAnchor && ctx.HasDataStream) {
        UpdateProperties(ctx, ctx.currentFC);
        if (ctx.Chp.FSpec) ReadPicture(ctx);
    } else if (code == kCellMark) {
        UpdateProperties(ctx, ctx.currentFC);
        if (ctx.Pap.FInTable == 1) {
            if (ctx.Pap.FTtp == 1) {
                EndRow(ctx);
            } else {
                EndCell(ctx);
            }
        }
    } else if (code == kTab || (code >= kNonBreakingHyphen && !ctx.InFieldCode)) {
        if (code == kNonBreakingHyphen || code == kOptionalHyphen) code = '-';
        UpdateProperties(ctx, ctx.currentFC);
        // The hidden part of a field is not shown.
        if (!ctx.Chp.FldVanish) InsertTextChar(ctx, code);
    }
}

void ReadStory(WordImportContext& ctx, int64_t first, int64_t last) {
    ctx.currentCP = first;
    ctx.InFieldCode = false;
    ctx.Row.Reset();
    ctx.ParaFormatTarget = nullptr;
    TStoryProgress progress(ctx.Progress, first, last);
    while (ctx.lastResult == 0 && ctx.currentCP <= last) {
        if (ctx.charBudget == 0) {
            ctx.lastResult = kCharBudgetSpent;
            break;
        }
        --ctx.charBudget;
        uint8_t code = 0;
        if (!FetchChar(ctx, code)) break;
        ctx.currentCP += 1;
        HandleChar(ctx, code);
        progress.Report(ctx.currentCP);
    }
    if (ctx.Progress) ctx.Progress->SetProStatus(0);
}

}  // namespace qm
