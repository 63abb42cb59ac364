// One conversion session: a document model and the workflow around it, without any window.
// Opening a file imports it into an empty model and lays it out; saving writes the laid-out
// pages as PDF; the preview pages can be rendered as PNG files. The window and the command line
// each own one.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/convert_report.h"
#include "model/document.h"
#include "model/sinks.h"
#include "pdf/pdf_save.h"
#include "word/word_import.h"

namespace qm {

struct TOpenOutcome {
    bool Imported = false;  // the text was read
    std::string Reason;     // why not, in the program's own words
    std::vector<std::string> Notices;  // what a converted document left out
};

class TConversionSession {
public:
    TConversionSession(TProgressSink& progress, TMessageSink& messages);

    // The PDF beside a document: the file name's extension (from its last ".") replaced by
    // ".pdf", or ".pdf" appended when the file name has none. A "." in a folder name does not
    // count.
    static std::string DestinationFor(const std::string& path);

    // The password (UTF-8) for the next document opened, used when that document is encrypted.
    // It is overwritten and dropped when that import ends, whatever its outcome.
    void SetPassword(std::string password);
    // Whether the document at path asks for a password, and whether password opens it, from its
    // password verifier alone (nothing is imported).
    static TPasswordCheck CheckPassword(const std::string& path, std::string_view password);

    // Imports a document into an empty model and lays it out (final: the pages only read it).
    TOpenOutcome openfilenow(const std::string& path);
    TOpenOutcome OpenBytes(std::vector<uint8_t> bytes);

    // Writes the laid-out pages as PDF. False when the file could not be written. What the
    // save left out is in SaveNotices afterwards.
    bool SavePDFFile(const std::string& destination, const TPDFSaveOptions& options = {});
    bool SavePDFFile(std::ostream& stream, const TPDFSaveOptions& options = {});
    const std::vector<std::string>& SaveNotices() const { return saveNotices_; }

    // Renders every preview page as PREFIX-1.png, PREFIX-2.png, ... at 96 dots per inch.
    bool RenderPng(const std::string& prefix);

    // Face names of the document's fonts whose face was found under another family.
    std::vector<TFontSubstitution> FontSubstitutions() const;

    TDocument& Document() { return doc_; }
    const std::string& Destination() const { return destination_; }

private:
    TImportOptions ImportOptions();
    TOpenOutcome FinishOpen(const TImportResult& outcome);
    void NoteSave(const TPDFSaveReport& report);

    TProgressSink& progress_;
    TMessageSink& messages_;
    TDocument doc_;
    std::string destination_;
    std::string password_;
    std::vector<std::string> saveNotices_;
};

}  // namespace qm
