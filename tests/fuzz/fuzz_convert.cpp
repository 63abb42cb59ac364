// Fuzz target: a whole conversion from bytes: import, layout, the hidden pass and the PDF
// written into memory.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

#include "app/conversion_session.h"

namespace {

class TNoMessages : public qm::TMessageSink {
  public:
    void ShowMessage(std::string_view, qm::TMessageIcon) override {}
};

class TNoProgress : public qm::TProgressSink {
  public:
    void SetProStatus(int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TNoMessages messages;
    static TNoProgress progress;
    static qm::TConversionSession* session = new qm::TConversionSession(progress, messages);
    if (!session->OpenBytes(std::vector<uint8_t>(data, data + size)).Imported) return 0;
    std::ostringstream pdf;
    session->SavePDFFile(pdf);
    return 0;
}
