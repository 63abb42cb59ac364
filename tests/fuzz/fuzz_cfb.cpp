// Fuzz target: the compound file reader. Opens the file, then every stream of its root storage.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cfb/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qm::Result<qm::TCompoundFile> file =
        qm::TCompoundFile::Open(std::vector<uint8_t>(data, data + size));
    if (!file) return 0;
    for (const std::string& name : file->StreamNames()) {
        qm::Result<qm::TCfbStream> stream = file->OpenStream(name);
        if (!stream) continue;
        // Reading past the end must fail cleanly.
        uint8_t probe[16];
        stream->Seek(stream->Size() > 8 ? stream->Size() - 8 : 0);
        stream->Read(probe, sizeof probe);
    }
    return 0;
}
