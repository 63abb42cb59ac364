// Fuzz target: a whole conversion from bytes: import, layout and the PDF written into memory.
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

TNoMessages messages;
TNoProgress progress;
qm::TConversionSession* session = nullptr;

}  // namespace

// The session is made before the first input: its model loads the font configuration once, and
// the leak checks after each input must not count what that keeps.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    session = new qm::TConversionSession(progress, messages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The password of the encrypted seeds.
    session->SetPassword("password");
    if (!session->OpenBytes(std::vector<uint8_t>(data, data + size)).Imported) return 0;
    std::ostringstream pdf;
    session->SavePDFFile(pdf);
    return 0;
}
