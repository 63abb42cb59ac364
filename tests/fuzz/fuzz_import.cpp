// Fuzz target: the whole Word import from bytes into one model, emptied before each input as a
// conversion does. The layout runs in the conversion target. Every input is opened with the
// password of the encrypted seeds, so that the decryption runs under what the mutations make.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "word/word_import.h"

namespace {

// The password of the encrypted seeds (and of a corpus document).
constexpr const char* kSeedPassword = "password";

class TNoMessages : public qm::TMessageSink {
  public:
    void ShowMessage(std::string_view, qm::TMessageIcon) override {}
};

class TNoProgress : public qm::TProgressSink {
  public:
    void SetProStatus(int) override {}
};

qm::TDocument* doc = nullptr;

}  // namespace

// The model is made before the first input: it loads the font configuration once, and the leak
// checks after each input must not count what that keeps.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    doc = new qm::TDocument();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TNoMessages messages;
    TNoProgress progress;
    doc->Reset();
    qm::ImportWordBytes(*doc, std::vector<uint8_t>(data, data + size), &progress, &messages,
                        qm::TImportOptions{false, kSeedPassword});
    return 0;
}
