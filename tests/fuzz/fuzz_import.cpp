// Fuzz target: the whole Word import from bytes into one model, emptied before each input as a
// conversion does. The layout runs in the conversion target.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "docimport/word_import.h"

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
    static qm::TDocument* doc = new qm::TDocument();
    TNoMessages messages;
    TNoProgress progress;
    doc->Reset();
    qm::ImportWordBytes(*doc, std::vector<uint8_t>(data, data + size), &progress, &messages,
                        qm::TImportOptions{false});
    return 0;
}
