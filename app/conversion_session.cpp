#include "app/conversion_session.h"

#include <set>

#include "base/wipe.h"
#include "model/missing_glyphs.h"
#include "pdf/pdf_page_surface.h"
#include "pdf/pdf_save.h"
#include "render/preview.h"

namespace qm {

namespace {

// The laid-out pages of a document, for the save loop.
class TDocumentPages : public TPDFPageSource {
public:
    TDocumentPages(const TDocument& doc, TProgressSink& progress)
        : doc_(doc), progress_(progress) {}
    int32_t PageCount() override { return doc_.GetAnzPages(); }
    void DrawPage(TPDFCanvas& canvas, int32_t index) override {
        DrawPagesPDF(doc_, canvas, index, &progress_);
    }
    void Describe(TPDFCanvas& canvas) override { DescribePDFDocument(doc_, canvas); }

private:
    const TDocument& doc_;
    TProgressSink& progress_;
};

}  // namespace

TConversionSession::TConversionSession(TProgressSink& progress, TMessageSink& messages)
    : progress_(progress), messages_(messages) {}

std::string TConversionSession::DestinationFor(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot >= nameStart) return path.substr(0, dot) + ".pdf";
    return path + ".pdf";
}

void TConversionSession::SetPassword(std::string password) {
    Wipe(password_);
    password_ = std::move(password);
    Wipe(password);
}

TPasswordCheck TConversionSession::CheckPassword(const std::string& path,
                                                 std::string_view password) {
    return CheckWordPassword(path, password);
}

TOpenOutcome TConversionSession::openfilenow(const std::string& path) {
    destination_ = DestinationFor(path);
    // Each import starts from an empty document, so that the next PDF holds only the next
    // document.
    doc_.Reset();
    const TImportResult outcome =
        ImportWordFile(doc_, path, &progress_, &messages_, ImportOptions());
    return FinishOpen(outcome);
}

TOpenOutcome TConversionSession::OpenBytes(std::vector<uint8_t> bytes) {
    doc_.Reset();
    const TImportResult outcome =
        ImportWordBytes(doc_, std::move(bytes), &progress_, &messages_, ImportOptions());
    return FinishOpen(outcome);
}

TImportOptions TConversionSession::ImportOptions() {
    TImportOptions options;
    options.Password = password_;
    return options;
}

TOpenOutcome TConversionSession::FinishOpen(const TImportResult& outcome) {
    // The import is over: the password goes.
    Wipe(password_);
    // The importer has reset the cursor and laid the document out: the layout is final.
    TOpenOutcome result;
    result.Imported = outcome.Converted;
    result.Reason = outcome.Message;
    // Only the laid-out model knows every character's font, so this count is made here.
    TNotices notices = outcome.Notices;
    if (outcome.Converted) ReportMissingGlyphs(doc_, notices);
    result.Notices = notices.Sentences();
    return result;
}

bool TConversionSession::SavePDFFile(const std::string& destination,
                                     const TPDFSaveOptions& options) {
    TDocumentPages pages(doc_, progress_);
    TPDFSaveReport report;
    const TPDFSaveResult result =
        qm::SavePDFFile(destination, pages, progress_, messages_, options, &report);
    NoteSave(report);
    return result == TPDFSaveResult::Saved;
}

bool TConversionSession::SavePDFFile(std::ostream& stream, const TPDFSaveOptions& options) {
    TDocumentPages pages(doc_, progress_);
    TPDFSaveReport report;
    const TPDFSaveResult result =
        qm::SavePDFFile(stream, pages, progress_, messages_, options, &report);
    NoteSave(report);
    return result == TPDFSaveResult::Saved;
}

void TConversionSession::NoteSave(const TPDFSaveReport& report) {
    saveNotices_.clear();
    if (report.UnembeddedGlyphs > 0) {
        saveNotices_.push_back(std::to_string(report.UnembeddedGlyphs) +
                               " characters shown as '?' in the PDF: the fonts that have them "
                               "cannot be embedded");
    }
}

bool TConversionSession::RenderPng(const std::string& prefix) {
    TRasterCanvas canvas(1, 1, kScreenDpi);
    const int32_t pages = doc_.GetAnzPages();
    for (int32_t page = 0; page < pages; ++page) {
        RenderPreviewPage(doc_, page, canvas);
        if (!canvas.SavePng(prefix + "-" + std::to_string(page + 1) + ".png")) return false;
    }
    return true;
}

std::vector<TFontSubstitution> TConversionSession::FontSubstitutions() const {
    std::vector<TFontSubstitution> out;
    std::set<std::string> seen;
    for (const TFontRec& font : doc_.Fonts) {
        if (!seen.insert(font.Name).second) continue;
        const TFont created = selfont(font.Name, doc_.PrinterDPI, 100.0, font.Size, 0, font.Charset,
                                      font.FamilyClass);
        if (!created.Valid()) {
            out.push_back({font.Name, ""});
        } else if (created.ActualFamily() != font.Name) {
            out.push_back({font.Name, created.ActualFamily()});
        }
    }
    return out;
}

}  // namespace qm
