#include "pdf/pdf_save.h"

namespace qm {

namespace {

inline constexpr char kCannotCreate[] = "Can not create the PDF file.";
inline constexpr char kCannotWrite[] = "Can not write the PDF file.";

// Resets the progress display however the save ends.
class TProgressReset {
  public:
    explicit TProgressReset(TProgressSink& progress) : progress_(progress) {}
    ~TProgressReset() { progress_.SetProStatus(0); }
    TProgressReset(const TProgressReset&) = delete;
    TProgressReset& operator=(const TProgressReset&) = delete;

  private:
    TProgressSink& progress_;
};

TPDFSaveResult WritePages(TPDFCanvas& canvas, TPDFPageSource& pages, TMessageSink& messages,
                          TPDFSaveReport* report) {
    const int32_t count = pages.PageCount();
    for (int32_t i = 1; i <= count && !canvas.Failed(); ++i) {
        pages.DrawPage(canvas, i - 1);
        if (i < pages.PageCount()) canvas.NextPage();
    }
    if (!canvas.Failed()) pages.Describe(canvas);
    if (report != nullptr) report->UnembeddedGlyphs = canvas.UnembeddedGlyphs();
    if (canvas.EndDoc()) return TPDFSaveResult::Saved;
    const std::string& error = canvas.ErrorText();
    messages.ShowMessage(error.empty() ? kCannotWrite : error, TMessageIcon::Error);
    return TPDFSaveResult::WriteFailed;
}

template <class TDestination>
TPDFSaveResult Save(TDestination& destination, TPDFPageSource& pages, TProgressSink& progress,
                    TMessageSink& messages, const TPDFSaveOptions& options,
                    TPDFSaveReport* report) {
    TProgressReset reset(progress);
    TPDFCanvas canvas;
    canvas.SetMessageSink(&messages);
    canvas.SetEmbedFonts(options.EmbedFonts);
    if (!canvas.BeginDoc(destination)) {
        messages.ShowMessage(kCannotCreate, TMessageIcon::Information);
        return TPDFSaveResult::CannotCreate;
    }
    return WritePages(canvas, pages, messages, report);
}

}  // namespace

TPDFSaveResult SavePDFFile(const std::string& fileName, TPDFPageSource& pages,
                           TProgressSink& progress, TMessageSink& messages,
                           const TPDFSaveOptions& options, TPDFSaveReport* report) {
    return Save(fileName, pages, progress, messages, options, report);
}

TPDFSaveResult SavePDFFile(std::ostream& stream, TPDFPageSource& pages, TProgressSink& progress,
                           TMessageSink& messages, const TPDFSaveOptions& options,
                           TPDFSaveReport* report) {
    return Save(stream, pages, progress, messages, options, report);
}

}  // namespace qm
