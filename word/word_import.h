// The Word 97 importer's entry points: read a .doc file (Word 97 to 2003) into the document
// model at its cursor, then return the cursor to the start and lay the model out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/notices.h"
#include "base/result.h"
#include "model/document.h"
#include "model/sinks.h"
#include "word/refusals.h"

namespace qm {

// How an import ended. When the text was not read, Kind and Message say why, in the
// program's words (Message is what the command line reports).
struct TImportResult {
    bool Converted = false;
    TErrorKind Kind = TErrorKind::Damaged;
    std::string Message;
    int64_t CharactersRead = 0;  // CPs read from all stories
    // What was left out of a converted document or shown other than it is: pictures over the
    // limits, unreadable or of a kind not drawn, stories not read, characters the fonts' code
    // page lacks.
    TNotices Notices;
};

struct TImportOptions {
    // Lay the model out at the end (CompleteRefresh). Benchmarks of the reading alone turn it
    // off; the cursor is set and the rows are marked unsettled either way.
    bool Layout = true;
    // The password of an encrypted document (UTF-8); unused for others. The import keeps no
    // copy of it: the caller owns it and clears it afterwards.
    std::string_view Password;
};

// The limits of one import, beyond those of the compound file (kMaxCompoundFileBytes), the
// pictures (kMaxImportPicturePixels, kMaxPictures) and the layout (kMaxPages, kMaxLines).
//
// Characters of all stories read: a thousand dense pages hold about five million; a character
// record takes 40 bytes, so the text itself stays under 350 MB.
inline constexpr uint64_t kMaxCharacters = uint64_t{1} << 23;
// Paragraph and cell marks, line and page breaks: each starts a line, and half the layout's
// lines (kMaxLines) are left for the lines the layout breaks. Real documents have a few
// dozen a page, so this is room for ten thousand pages.
inline constexpr uint64_t kMaxParagraphs = uint64_t{1} << 18;

// The program's messages are those of word/refusals.h. The refusals at a limit: "The document has
// more than N characters." (paragraphs, lines, pages).
std::string LimitMessage(uint64_t limit, const char* what);

// Imports the Word document at path (or held in bytes). A file that is not a compound file,
// or cannot be opened, shows "Can not open docfile!" through messages; an encrypted document
// is decrypted in memory with options.Password. An encrypted document without a password
// (Encrypted) or with a wrong one (WrongPassword), one protected in a way not read, and one
// older than Word 97 are refused with their message shown, and leave the model as it was. A
// document over one of the limits above is refused (Kind LimitExceeded) with its message shown: one
// over kMaxCharacters or kMaxParagraphs before its text is read, one that the layout stops at
// kMaxPages or kMaxLines after the layout, and the model is emptied again (TDocument::Reset).
// Without the layout (options.Layout off) those two are the caller's to check
// (TDocument::LayoutLimited). Progress goes to progress. Either sink may be null.
TImportResult ImportWordFile(TDocument& doc, const std::string& path, TProgressSink* progress,
                             TMessageSink* messages, TImportOptions options = {});
TImportResult ImportWordBytes(TDocument& doc, std::vector<uint8_t> bytes, TProgressSink* progress,
                              TMessageSink* messages, TImportOptions options = {});

// What opening a document with a password would meet, found from its header and its password
// verifier alone: nothing is decrypted or imported. NotAsked: the document is not encrypted,
// or cannot be read for another reason, which the import tells.
enum class TPasswordCheck { NotAsked, Missing, Wrong, Opens };
TPasswordCheck CheckWordPassword(const std::string& path, std::string_view password);

// The same, answering only whether the text was read.
bool OpenWordFile(TDocument& doc, const std::string& path, TProgressSink* progress,
                  TMessageSink* messages);
bool OpenWordFile(TDocument& doc, std::vector<uint8_t> bytes, TProgressSink* progress,
                  TMessageSink* messages);

}  // namespace qm
