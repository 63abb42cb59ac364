// The save loop: a whole document written page by page through a TPDFCanvas.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "model/sinks.h"
#include "pdf/pdf_canvas.h"

namespace qm {

// What the save loop draws: the laid-out pages of a document.
class TPDFPageSource {
  public:
    virtual ~TPDFPageSource() = default;
    // The number of pages; asked once before the first page and again after each page.
    virtual int32_t PageCount() = 0;
    // Draws the page with this 0-based index onto the canvas's open page.
    virtual void DrawPage(TPDFCanvas& canvas, int32_t index) = 0;
    // After the last page: hands the canvas the document's outline and information.
    virtual void Describe(TPDFCanvas& canvas) { (void)canvas; }
};

struct TPDFSaveOptions {
    // Embed subsets of every font, the simple WinAnsi ones too (Type 0 fonts always are).
    bool EmbedFonts = false;
};

// What the save noticed on the way.
struct TPDFSaveReport {
    // Characters shown as '?' because the face that has them cannot be embedded.
    int32_t UnembeddedGlyphs = 0;
};

enum class TPDFSaveResult {
    Saved,         // the file is complete and in place
    CannotCreate,  // the destination could not be created; "Can not create the PDF file."
    WriteFailed,   // writing failed on the way; the destination was left as it was
};

// Creates a writer, begins the document, draws every page with NextPage between pages, ends the
// document and resets the progress display (SetProStatus(0)) on every path. A destination that
// cannot be created shows "Can not create the PDF file." (information icon); a failure while
// writing shows the writer's error text (error icon). A document without pages is written as
// one empty page. Exceptions thrown by the page source propagate to the caller after the
// progress is reset; the unfinished file is then removed.
TPDFSaveResult SavePDFFile(const std::string& fileName, TPDFPageSource& pages,
                           TProgressSink& progress, TMessageSink& messages,
                           const TPDFSaveOptions& options = {}, TPDFSaveReport* report = nullptr);
// The same into a stream (standard output for "-o -"); a failure may leave partial output.
TPDFSaveResult SavePDFFile(std::ostream& stream, TPDFPageSource& pages, TProgressSink& progress,
                           TMessageSink& messages, const TPDFSaveOptions& options = {},
                           TPDFSaveReport* report = nullptr);

}  // namespace qm
