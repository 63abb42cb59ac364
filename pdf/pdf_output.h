// Where a PDF document goes: a file that appears only when the document is complete, or a
// caller's stream (standard output for "-o -", a string stream in tests).
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace qm {

class TPDFOutput {
  public:
    virtual ~TPDFOutput() = default;
    // Appends bytes; false (with Error() set) when they could not be written.
    virtual bool Write(std::string_view bytes) = 0;
    // Makes the finished document available; false with Error() set when that failed, in
    // which case nothing is published.
    virtual bool Commit() = 0;
    // Gives up an unfinished document; whatever was at the destination stays as it was.
    virtual void Abandon() = 0;
    const std::string& Error() const { return error_; }

  protected:
    std::string error_;
};

// Writes into a new file beside destination (an unpredictable name, created exclusively) and
// renames it over destination on Commit; Abandon and the destructor of an uncommitted output
// remove it. Returns nullptr with error set when the file cannot be created: the folder does
// not exist or cannot be written, or destination is a folder or a file we may not write.
std::unique_ptr<TPDFOutput> OpenFileOutput(const std::string& destination, std::string& error);

// Writes straight into stream, which must outlive the output. Commit flushes it. Bytes already
// written cannot be taken back: a failed document leaves a partial PDF in the stream.
std::unique_ptr<TPDFOutput> MakeStreamOutput(std::ostream& stream);

}  // namespace qm
