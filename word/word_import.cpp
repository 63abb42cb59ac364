#include "word/word_import.h"

#include <algorithm>
#include <fstream>
#include <span>

#include "base/notices.h"
#include "cfb/compound_file.h"
#include "model/layout.h"
#include "word/header_stories.h"
#include "word/model_writer.h"
#include "word/picture_import.h"
#include "word/property_resolver.h"
#include "word/story_reader.h"
#include "word/summary_info.h"
#include "word/text_census.h"
#include "word/word_file.h"

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

uint64_t CharBudget(const TWordFile& file) {
    return kMaxCharsPerMainByte * file.Main.Size() + kCharBudgetSlack;
}

// Counts the text that the reading would go through; a message when it is over a limit.
std::string CheckTextLimits(const TWordFile& file) {
    const uint64_t cap = std::min(CharBudget(file), kMaxCharacters + 1);
    const TTextCensus census = CountDocumentText(file, cap);
    if (census.Characters > kMaxCharacters) return LimitMessage(kMaxCharacters, "characters");
    if (census.LineEnds > kMaxParagraphs) return LimitMessage(kMaxParagraphs, "paragraphs");
    return {};
}

// The page geometry of the first section, the main text, then the first section's headers and
// footers, each into its field.
TImportResult ReadText(TDocument& doc, const TWordFile& file, TProgressSink* progress) {
    TModelWriter writer(doc, file.Fonts, file.Dop.DefaultTabTwips);
    TPropertyResolver resolver(file);
    TPictureReader pictures(file.Data.Bytes());
    TStoryReader reader(file, resolver, writer, pictures, progress, CharBudget(file));
    resolver.ApplySection(0);
    writer.SetPageGeometry(resolver.Sep(), file.Dop.FacingPages);
    writer.UseLists(file.Lists);
    reader.Read(file.Stories[TStoryKind::Main].Cps);
    for (const THeaderStory& story : FirstSectionHeaderStories(file)) {
        if (writer.MoveToEndOf(story.Field)) reader.Read(story.Cps);
    }
    TImportResult result;
    result.Converted = true;
    result.CharactersRead = static_cast<int64_t>(reader.CharsRead());
    result.Notices.Add(TNoticeKind::Other, "link to a bookmark", "links to bookmarks",
                       "left without a target: the document has no such bookmark.",
                       writer.Marks().ResolveLinks());
    pictures.Report(result.Notices);
    if (const size_t lost = resolver.LostPropertyLists(); lost > 0)
        result.Notices.Add(TNoticeKind::Other, "paragraph property list",
                           "paragraph property lists",
                           "stored in the Data stream could not be read: those paragraphs keep "
                           "their style's format.",
                           static_cast<int64_t>(lost));
    file.Stories.ReportUnread(result.Notices);
    result.Notices.Add(TNoticeKind::CharacterShown, "character", "characters",
                       "shown as '?': its code page has no such character, or it is East Asian "
                       "text in two bytes.",
                       reader.UnconvertedChars());
    if (file.Lists.Damaged)
        result.Notices.Add(TNoticeKind::Other, "list table", "list tables",
                           "read only in part: list paragraphs whose list was lost are "
                           "numbered 1., 2., ... in order.");
    result.Notices.Add(TNoticeKind::StorySkipped, "header or footer of a later section",
                       "headers and footers of later sections",
                       "left out: the first section's stand on every page.",
                       LaterSectionHeaderStories(file));
    return result;
}

// The summary information stream: the one the document's encryption held when it is
// encrypted, else the compound file's.
void ReadDocumentInfo(TDocument& doc, const TCompoundFile& root, const TWordFile& file,
                      TNotices& notices) {
    TSummaryRead read;
    bool found = false;
    if (file.Encryption) {
        for (const TSummaryStream& stream : file.Encryption->Summary) {
            if (stream.Name != kSummaryStreamName) continue;
            read = ReadSummaryInformation(stream.Bytes);
            found = true;
            break;
        }
    }
    if (!found) {
        Result<TCfbStream> stream = root.OpenStream(kSummaryStreamName);
        if (!stream) return;
        read = ReadSummaryInformation(stream->Bytes());
    }
    doc.Info = std::move(read.Info);
    if (read.Damaged)
        notices.Add(TNoticeKind::Other, "document information stream",
                    "document information streams",
                    "read only in part: the PDF's title, subject, author or keywords may be "
                    "missing.");
    notices.Add(TNoticeKind::CharacterShown, "character", "characters",
                "shown as '?': its code page has no such character, or it is East Asian "
                "text in two bytes.",
                read.Unconverted);
}

// Refusals of the header the user is told of; a file that is no Word document or is damaged
// says so only in the result.
bool ShownToUser(const TError& error) {
    return error.Kind == TErrorKind::Encrypted || error.Kind == TErrorKind::WrongPassword ||
           error.Kind == TErrorKind::Unsupported;
}

TImportResult ReadDocument(TDocument& doc, const TCompoundFile& root, TProgressSink* progress,
                           TMessageSink* messages, std::string_view password) {
    Result<TWordFile> file = ReadWord97File(root, password);
    if (!file) {
        const TError& error = file.Error();
        if (messages && ShownToUser(error))
            messages->ShowMessage(error.Message, TMessageIcon::Error);
        return Refused(error.Kind, error.Message);
    }
    if (std::string over = CheckTextLimits(*file); !over.empty())
        return RefusedAtLimit(messages, std::move(over));
    TImportResult result = ReadText(doc, *file, progress);
    ReadDocumentInfo(doc, root, *file, result.Notices);
    return result;
}

// Word 2 wrote its documents as plain files, not compound files, starting with this word.
constexpr uint8_t kWord2Ident[] = {0xDB, 0xA5};

bool IsWord2Header(std::span<const uint8_t> start) {
    return start.size() >= 2 && start[0] == kWord2Ident[0] && start[1] == kWord2Ident[1];
}

bool FileHasWord2Header(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    uint8_t start[2] = {};
    return in.read(reinterpret_cast<char*>(start), 2) && IsWord2Header(start);
}

TImportResult Import(TDocument& doc, Result<TCompoundFile> root, bool word2,
                     TProgressSink* progress, TMessageSink* messages, TImportOptions options) {
    TImportResult result;
    if (!root && word2 && root.Error().Kind == TErrorKind::NotWordDocument) {
        if (messages) messages->ShowMessage(kMsgWord2, TMessageIcon::Error);
        result = Refused(TErrorKind::Unsupported, kMsgWord2);
    } else if (!root) {
        if (messages) messages->ShowMessage(kMsgCannotOpen, TMessageIcon::Error);
        result = Refused(root.Error().Kind, kMsgCannotOpen);
    } else {
        result = ReadDocument(doc, *root, progress, messages, options.Password);
    }
    TModelWriter::Rewind(doc);
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

std::string LimitMessage(uint64_t limit, const char* what) {
    return "The document has more than " + std::to_string(limit) + " " + what + ".";
}

TImportResult ImportWordFile(TDocument& doc, const std::string& path, TProgressSink* progress,
                             TMessageSink* messages, TImportOptions options) {
    Result<TCompoundFile> root = TCompoundFile::OpenFile(path);
    const bool word2 = !root && FileHasWord2Header(path);
    return Import(doc, std::move(root), word2, progress, messages, options);
}

TImportResult ImportWordBytes(TDocument& doc, std::vector<uint8_t> bytes, TProgressSink* progress,
                              TMessageSink* messages, TImportOptions options) {
    const bool word2 = IsWord2Header(bytes);
    return Import(doc, TCompoundFile::Open(std::move(bytes)), word2, progress, messages, options);
}

TPasswordCheck CheckWordPassword(const std::string& path, std::string_view password) {
    Result<TCompoundFile> root = TCompoundFile::OpenFile(path);
    if (!root) return TPasswordCheck::NotAsked;
    Result<TCfbStream> main = root->OpenStream("WordDocument");
    if (!main || !IsEncryptedWord97(main->Bytes())) return TPasswordCheck::NotAsked;
    Result<TWordUnlock> unlock = UnlockWordDocument(*root, main->Bytes(), password);
    if (unlock) return TPasswordCheck::Opens;
    if (unlock.Error().Kind == TErrorKind::Encrypted) return TPasswordCheck::Missing;
    if (unlock.Error().Kind == TErrorKind::WrongPassword) return TPasswordCheck::Wrong;
    return TPasswordCheck::NotAsked;
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
