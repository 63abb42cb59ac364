// The file structure of the writer: objects, content streams, the end of the document, the
// cross-reference table and the trailer (PDF Reference 1.3, 3.4).
#include "pdf/pdf_canvas.h"

#include <exception>

#include "pdf/pdf_number.h"

namespace qm {

namespace {

// The staging buffer goes to the output in blocks of this size.
constexpr size_t kFlushBytes = size_t{1} << 16;
// A cross-reference entry holds a 10-digit offset (PDF Reference 1.3, 3.4.3).
constexpr int64_t kMaxOffset = 9'999'999'999;

}  // namespace

TPDFCanvas::TPDFCanvas() : deflater_(std::make_unique<TDeflater>()) {}

TPDFCanvas::~TPDFCanvas() {
    Abandon();
}

bool TPDFCanvas::BeginDoc(const std::string& fileName) {
    if (used_) return false;
    try {
        std::string error;
        std::unique_ptr<TPDFOutput> output = OpenFileOutput(fileName, error);
        if (!output) {
            errorText_ = error;
            return false;
        }
        return Begin(std::move(output));
    } catch (const std::exception& e) {
        Fail(e.what());
        return false;
    }
}

bool TPDFCanvas::BeginDoc(std::ostream& stream) {
    if (used_ || !stream) return false;
    try {
        return Begin(MakeStreamOutput(stream));
    } catch (const std::exception& e) {
        Fail(e.what());
        return false;
    }
}

bool TPDFCanvas::Begin(std::unique_ptr<TPDFOutput> output) {
    used_ = true;
    output_ = std::move(output);
    isOpen_ = true;
    WriteLine("%PDF-1.3");
    xref_.push_back(TXRefEntry{0, 65535, 1});
    BeginObject();
    WriteLine("[/PDF /Text /ImageB /ImageC /ImageI]");
    EndObject();
    pageCount_ = 0;
    BeginContentStream();
    return !failed_;
}

void TPDFCanvas::NextPage() {
    if (!isOpen_) return;
    try {
        EndContentStream();
        if (isOpen_) BeginContentStream();
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

bool TPDFCanvas::EndDoc() {
    if (!isOpen_) return false;
    try {
        WriteDocumentEnd();
        FlushStaged(true);
        if (!failed_ && !output_->Commit()) Fail(output_->Error());
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    const bool ok = !failed_;
    isOpen_ = false;
    output_.reset();
    xref_.clear();
    pageSizes_.clear();
    fonts_.Clear();
    return ok;
}

void TPDFCanvas::Fail(std::string_view text) noexcept {
    if (!failed_) {
        failed_ = true;
        try {
            errorText_ = text.empty() ? "error" : std::string(text);
        } catch (...) {
            // No memory for the text: the flag alone tells the caller.
        }
    }
    Abandon();
}

void TPDFCanvas::Abandon() noexcept {
    if (output_) {
        output_->Abandon();
        output_.reset();
    }
    isOpen_ = false;
    buffering_ = false;
    std::string().swap(staged_);
    std::string().swap(pageBuffer_);
}

void TPDFCanvas::WriteNumber(int64_t value) {
    AppendInt(Target(), value);
}

void TPDFCanvas::FlushStaged(bool always) {
    if (staged_.empty() || (!always && staged_.size() < kFlushBytes)) return;
    if (failed_ || !output_) {
        staged_.clear();
        return;
    }
    const bool ok = output_->Write(staged_);
    written_ += static_cast<int64_t>(staged_.size());
    staged_.clear();
    if (!ok) Fail(output_->Error());
}

int32_t TPDFCanvas::BeginObject() {
    const int64_t offset = FilePosition();
    if (offset > kMaxOffset) {
        Fail("The PDF file is too large");
        return 0;
    }
    xref_.push_back(TXRefEntry{offset, 0, 0});
    const auto number = static_cast<int32_t>(xref_.size() - 1);
    WriteNumber(number);
    WriteLine(" 0 obj");
    return number;
}

void TPDFCanvas::BeginContentStream() {
    ++pageCount_;
    const int32_t number = BeginObject();
    WriteRaw("<< /Length ");
    WriteNumber(number + 1);
    WriteLine(" 0 R /Filter /FlateDecode >>");
    WriteLine("stream");
    streamStart_ = FilePosition();
    fontSelected_ = false;
    fillColorWritten_ = false;
    penWritten_ = false;
    pageBuffer_.clear();
    buffering_ = true;
}

void TPDFCanvas::EndContentStream() {
    // The whole page is compressed at once, never incrementally.
    if (!deflater_->Compress(pageBuffer_, compressed_)) {
        Fail("error");
        return;
    }
    buffering_ = false;
    pageBuffer_.clear();
    staged_.append(compressed_);
    WriteRaw("\n");
    streamEnd_ = FilePosition();
    WriteLine("endstream");
    EndObject();
    BeginObject();
    WriteNumber(static_cast<int64_t>(compressed_.size()));
    EndLine();
    EndObject();
    pageSizes_.push_back(TPDFPageSize{PageWidth, PageHeight});
    FlushStaged(false);
}

void TPDFCanvas::AddLink(int32_t left, int32_t top, int32_t right, int32_t bottom,
                         std::string_view uri, int32_t place) {
    if (!isOpen_) return;
    try {
        navigation_.AddLink(
            TPDFLinkArea{pageCount_ - 1, left, top, right, bottom, std::string(uri), place});
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void TPDFCanvas::MarkPlace(int32_t place, int32_t x, int32_t y) {
    if (!isOpen_) return;
    try {
        navigation_.MarkPlace(place, pageCount_ - 1, x, y);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void TPDFCanvas::WriteDocumentEnd() {
    EndContentStream();
    const auto pages = static_cast<int32_t>(pageSizes_.size());
    // Object numbers follow from the counts: contents and lengths 2..2P+1, then the fonts,
    // Pages, the pages, Catalog, Outlines and the images.
    const int32_t firstFontObject = 2 * pages + 2;
    const int32_t pagesObject = firstFontObject + fonts_.ObjectCount();
    const int32_t firstPageObject = pagesObject + 1;
    const int32_t catalogObject = firstPageObject + pages;
    const int32_t firstImageObject = catalogObject + 2;
    // Links, outline items and the information dictionary follow the images, so that a
    // document without them keeps its numbering.
    navigation_.Settle(pages, firstImageObject + static_cast<int32_t>(images_.Count()));
    if (failed_) return;
    fonts_.WriteObjects(*this);
    WritePagesObject(firstPageObject);
    WritePageObjects(pagesObject, firstFontObject, firstImageObject);
    WriteCatalog(pagesObject);
    images_.WriteObjects(*this);
    std::vector<int32_t> heights;
    for (const TPDFPageSize& size : pageSizes_)
        heights.push_back(size.Height);
    navigation_.WriteObjects(*this, firstPageObject, catalogObject + 1, heights);
    if (failed_) return;
    WriteXRefAndTrailer(catalogObject, navigation_.InfoObject());
}

void TPDFCanvas::WritePagesObject(int32_t firstPageObject) {
    BeginDictObject();
    WriteLine("/Type /Pages");
    WriteRaw("/Count ");
    WriteNumber(pageCount_);
    EndLine();
    WriteRaw("/Kids [");
    const auto pages = static_cast<int32_t>(pageSizes_.size());
    for (int32_t i = 0; i < pages; ++i) {
        WriteNumber(firstPageObject + i);
        WriteRaw(i + 1 < pages ? " 0 R " : " 0 R]");
    }
    EndLine();
    EndDictObject();
}

void TPDFCanvas::WritePageObjects(int32_t pagesObject, int32_t firstFontObject,
                                  int32_t firstImageObject) {
    // Every page lists every image and every font of the document.
    std::string imageResources;
    images_.AppendResources(imageResources, firstImageObject);
    std::string fontResources;
    fonts_.AppendResources(fontResources, firstFontObject);
    for (size_t i = 0; i < pageSizes_.size(); ++i) {
        BeginDictObject();
        WriteLine("/Type /Page");
        WriteRaw("/Parent ");
        WriteNumber(pagesObject);
        WriteLine(" 0 R");
        WriteRaw("/Resources <<");
        WriteRaw("/XObject << ");
        WriteRaw(imageResources);
        WriteLine(" >>");
        WriteRaw("/Font << ");
        WriteRaw(fontResources);
        WriteLine(">> /ProcSet 1 0 R");
        WriteLine(">>");
        WriteRaw("/MediaBox [0 0 ");
        WriteNumber(int64_t{pageSizes_[i].Width} - 1);
        WriteRaw(" ");
        WriteNumber(int64_t{pageSizes_[i].Height} - 1);
        WriteLine("]");
        WriteRaw("/Contents ");
        WriteNumber(2 + 2 * static_cast<int64_t>(i));
        WriteLine(" 0 R");
        const std::string annots = navigation_.AnnotsLine(static_cast<int32_t>(i));
        if (!annots.empty()) WriteLine(annots);
        EndDictObject();
        FlushStaged(false);
    }
}

void TPDFCanvas::WriteCatalog(int32_t pagesObject) {
    BeginDictObject();
    const auto catalog = static_cast<int32_t>(xref_.size() - 1);
    WriteLine("/Type /Catalog");
    WriteRaw("/Pages ");
    WriteNumber(pagesObject);
    WriteLine(" 0 R");
    WriteRaw("/Outlines ");
    WriteNumber(catalog + 1);
    WriteLine(" 0 R");
    EndDictObject();
    BeginDictObject();
    WriteLine("/Type /Outlines");
    WriteLine(navigation_.OutlineRootLines(catalog + 1));
    EndDictObject();
}

void TPDFCanvas::WriteXRefAndTrailer(int32_t catalogObject, int32_t infoObject) {
    xrefOffset_ = FilePosition();
    WriteLine("xref");
    WriteRaw("0 ");
    WriteNumber(static_cast<int64_t>(xref_.size()));
    EndLine();
    for (const TXRefEntry& entry : xref_) {
        WriteRaw(ZeroPad(FormatInt(entry.Offset), 10));
        WriteRaw(" ");
        WriteRaw(ZeroPad(FormatInt(entry.Generation), 5));
        WriteLine(entry.IsFree ? " f " : " n ");
        FlushStaged(false);
    }
    WriteLine("trailer");
    WriteLine("<<");
    WriteRaw("/Size ");
    WriteNumber(static_cast<int64_t>(xref_.size()));
    EndLine();
    WriteRaw("/Root ");
    WriteNumber(catalogObject);
    WriteLine(" 0 R");
    if (infoObject != 0) {
        WriteRaw("/Info ");
        WriteNumber(infoObject);
        WriteLine(" 0 R");
    }
    WriteLine(">>");
    WriteLine("startxref");
    WriteNumber(xrefOffset_);
    EndLine();
    WriteRaw("%%EOF");
}

}  // namespace qm
