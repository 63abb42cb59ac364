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

TPDFSaveResult WritePages(TPDFCanvas& canvas, TPDFPageSource& pages, TMessageSink& messages) {
    const int32_t count = pages.PageCount();
    for (int32_t i = 1; i <= count && !canvas.Failed(); ++i) {
        pages.DrawPage(canvas, i - 1);
        if (i < pages.PageCount()) canvas.NextPage();
    }
    if (canvas.EndDoc()) return TPDFSaveResult::Saved;
    const std::string& error = canvas.ErrorText();
    messages.ShowMessage(error.empty() ? kCannotWrite : error, TMessageIcon::Error);
    return TPDFSaveResult::WriteFailed;
}

template <class TDestination>
TPDFSaveResult Save(TDestination& destination, TPDFPageSource& pages, TProgressSink& progress,
                    TMessageSink& messages) {
    TProgressReset reset(progress);
    TPDFCanvas canvas;
    canvas.SetMessageSink(&messages);
    if (!canvas.BeginDoc(destination)) {
        messages.ShowMessage(kCannotCreate, TMessageIcon::Information);
        return TPDFSaveResult::CannotCreate;
    }
    return WritePages(canvas, pages, messages);
}

}  // namespace

TPDFSaveResult SavePDFFile(const std::string& fileName, TPDFPageSource& pages,
                           TProgressSink& progress, TMessageSink& messages) {
    return Save(fileName, pages, progress, messages);
}

TPDFSaveResult SavePDFFile(std::ostream& stream, TPDFPageSource& pages, TProgressSink& progress,
                           TMessageSink& messages) {
    return Save(stream, pages, progress, messages);
}

}  // namespace qm
