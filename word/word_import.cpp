#include "word/word_import.h"

#include <algorithm>

#include "cfb/compound_file.h"
#include "word/font_table.h"
#include "word/import_context.h"
#include "word/section.h"
#include "word/story.h"
#include "word/stylesheet.h"
#include "word/text_census.h"
#include "model/layout.h"

namespace qm {

namespace {

// A sound document holds each character in at least one byte of the main stream; twice that
// (and a little) bounds the characters an import reads, so that a damaged piece table cannot
// make it run on.
constexpr uint64_t kMaxCharsPerMainByte = 2;
constexpr uint64_t kCharBudgetSlack = 1024;

TImportResult Refused(TErrorKind kind, std::string message) {
    TImportResult result;
    result.Kind = kind;
    result.Message = std::move(message);
    return result;
}

TImportResult RefusedAtLimit(TMessageSink* messages, std::string message) {
    if (messages) messages->ShowMessage(message, TMessageIcon::Error);
    return Refused(TErrorKind::LimitExceeded, std::move(message));
}

uint64_t CharBudget(const WordImportContext& ctx) {
    return kMaxCharsPerMainByte * ctx.mainStream.Size() + kCharBudgetSlack;
}

// Counts the text that the reading would go through; a message when it is over a limit.
std::string CheckTextLimits(const WordImportContext& ctx) {
    const uint64_t cap = std::min(CharBudget(ctx), kMaxCharacters + 1);
    const TTextCensus census = CountDocumentText(ctx, cap);
    if (census.Characters > kMaxCharacters) return LimitMessage(kMaxCharacters, "characters");
    if (census.LineEnds > kMaxParagraphs) return LimitMessage(kMaxParagraphs, "paragraphs");
    return {};
}

}  // namespace

std::string LimitMessage(uint64_t limit, const char* what) {
    return "The document has more than " + std::to_string(limit) + " " + what + ".";
}

void ReadWordTables(WordImportContext& ctx) {
    const TFib& fib = ctx.fib;
    const auto table = ctx.tableStream.Bytes();
    const auto main = ctx.mainStream.Bytes();
    ctx.fontNames = ReadFontTable(table, fib.FcSttbfffn);
    ctx.chpxBins = TBinTable::Read(table, fib.FcPlcfbteChpx, fib.LcbPlcfbteChpx, main);
    ctx.papxBins = TBinTable::Read(table, fib.FcPlcfbtePapx, fib.LcbPlcfbtePapx, main);
    ReadSectionTable(ctx, table, fib.FcPlcfsed, fib.LcbPlcfsed);
    ctx.headerStories =
        ReadPlc<char>(table, fib.FcPlcfhdd, fib.LcbPlcfhdd, 0, [](ByteReader&, char&) {});
    ReadStylesheet(ctx, table, fib.FcStshf);
    ctx.pieces = TPieceTable::Read(table, fib.FcClx, fib.LcbClx);
    ctx.dop = ReadDop(table, fib.FcDop);
}

namespace {

// Steps 14 to 17: page geometry and the text.
void ReadText(WordImportContext& ctx) {
    ctx.charBudget = CharBudget(ctx);
    const uint64_t budget = ctx.charBudget;
    ApplySection(ctx, 0);
    SetPageGeometry(ctx);
    ReadStory(ctx, 0, static_cast<int64_t>(ctx.fib.CcpText) - 1);
    ReadHeaderFooterStories(ctx);
    ctx.charsRead = budget - ctx.charBudget;
}

TImportResult ReadDocument(WordImportContext& ctx, const TCompoundFile& root) {
    Result<TCfbStream> main = root.OpenStream("WordDocument");
    if (!main) return Refused(TErrorKind::NotWordDocument, kMsgNotWordDocument);
    ctx.mainStream = std::move(*main);
    Result<TFib> fib = ReadFib(ctx.mainStream.Bytes());
    if (!fib) {
        const TError& error = fib.Error();
        if (ctx.Messages && error.Kind != TErrorKind::Damaged) {
            ctx.Messages->ShowMessage(error.Message, TMessageIcon::Error);
        }
        return Refused(error.Kind, error.Message);
    }
    ctx.fib = *fib;
    if (Result<TCfbStream> data = root.OpenStream("Data")) {
        ctx.dataStream = std::move(*data);
        ctx.HasDataStream = true;
    }
    Result<TCfbStream> table = root.OpenStream(ctx.fib.WhichTblStm() ? "1Table" : "0Table");
    if (!table) return Refused(TErrorKind::Damaged, kMsgNoTableStream);
    ctx.tableStream = std::move(*table);
    ReadWordTables(ctx);
    if (std::string over = CheckTextLimits(ctx); !over.empty())
        return RefusedAtLimit(ctx.Messages, std::move(over));
    ReadText(ctx);
    TImportResult result;
    result.Converted = true;
    result.CharactersRead = static_cast<int64_t>(ctx.charsRead);
    result.Notices = PictureNotices(ctx.Pictures);
    return result;
}

TImportResult Import(TDocument& doc, Result<TCompoundFile> root, TProgressSink* progress,
                     TMessageSink* messages, TImportOptions options) {
    TImportResult result;
    if (!root) {
        if (messages) messages->ShowMessage(kMsgCannotOpen, TMessageIcon::Error);
        result = Refused(root.Error().Kind, kMsgCannotOpen);
    } else {
        WordImportContext ctx(doc, progress, messages);
        result = ReadDocument(ctx, *root);
    }
    doc.CurField = doc.CurLine = doc.CurChar = 0;
    doc.FreshImport = 1;
    if (!options.Layout) return result;
    doc.CompleteRefresh();
    if (result.Converted && doc.LayoutLimited) {
        const bool pages = doc.GetAnzPages() >= kMaxPages;
        result = RefusedAtLimit(
            messages, pages ? LimitMessage(kMaxPages, "pages") : LimitMessage(kMaxLines, "lines"));
        doc.Reset();
    }
    return result;
}

}  // namespace

TImportResult ImportWordFile(TDocument& doc, const std::string& path, TProgressSink* progress,
                             TMessageSink* messages, TImportOptions options) {
    return Import(doc, TCompoundFile::OpenFile(path), progress, messages, options);
}

TImportResult ImportWordBytes(TDocument& doc, std::vector<uint8_t> bytes, TProgressSink* progress,
                              TMessageSink* messages, TImportOptions options) {
    return Import(doc, TCompoundFile::Open(std::move(bytes)), progress, messages, options);
}

bool OpenWordFile(TDocument& doc, const std::string& path, TProgressSink* progress,
                  TMessageSink* messages) {
    return ImportWordFile(doc, path, progress, messages).Converted;
}

bool OpenWordFile(TDocument& doc, std::vector<uint8_t> bytes, TProgressSink* progress,
                  TMessageSink* messages) {
    return ImportWordBytes(doc, std::move(bytes), progress, messages).Converted;
}

}  // namespace qm
