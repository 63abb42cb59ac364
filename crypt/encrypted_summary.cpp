#include "crypt/encrypted_summary.h"

#include "base/byte_reader.h"
#include "cfb/cfb_directory.h"

namespace qm {

namespace {

// EncryptedStreamDescriptor's flags: set for a stream, clear for a storage.
constexpr uint8_t kDescribesStream = 0x01;

struct TDescriptor {
    uint32_t Offset = 0;
    uint32_t Size = 0;
    uint16_t Block = 0;
    uint8_t Flags = 0;
    std::string Name;
};

bool ReadDescriptor(ByteReader& r, TDescriptor& d) {
    uint8_t nameUnits = 0;
    uint32_t reserved = 0;
    std::span<const uint8_t> name;
    if (!r.U32(d.Offset) || !r.U32(d.Size) || !r.U16(d.Block) || !r.U8(nameUnits) ||
        !r.U8(d.Flags) || !r.U32(reserved) || !r.Bytes(2 * (size_t{nameUnits} + 1), name))
        return false;
    d.Name = DirNameToUtf8(name, static_cast<uint16_t>(name.size()));
    return true;
}

// The descriptor array, decrypted: a count, then the descriptors. A count larger than the
// array holds ends at its last whole descriptor.
std::vector<TDescriptor> ReadDescriptors(std::span<const uint8_t> array) {
    ByteReader r(array);
    uint32_t count = 0;
    r.U32(count);
    std::vector<TDescriptor> out;
    TDescriptor d;
    for (uint32_t i = 0; i < count && ReadDescriptor(r, d); ++i)
        out.push_back(d);
    return out;
}

}  // namespace

Result<std::vector<TSummaryStream>> DecryptSummaryStreams(std::span<const uint8_t> summary,
                                                          const TRc4Keys& keys) {
    ByteReader r(summary);
    uint32_t arrayOffset = 0, arraySize = 0;
    if (!r.U32(arrayOffset) || !r.U32(arraySize) || arrayOffset > summary.size())
        return MakeError(TErrorKind::Damaged, kMsgEncryptionDamaged);
    // The array runs to the stream's end; its count, not its stated size, says how many
    // descriptors it holds.
    std::vector<uint8_t> array(summary.begin() + arrayOffset, summary.end());
    keys.Crypt(0, array);
    std::vector<TSummaryStream> streams;
    for (const TDescriptor& d : ReadDescriptors(array)) {
        if ((d.Flags & kDescribesStream) == 0) continue;
        if (d.Offset > summary.size() || d.Size > summary.size() - d.Offset)
            return MakeError(TErrorKind::Damaged, kMsgEncryptionDamaged);
        TSummaryStream stream{d.Name,
                              {summary.begin() + d.Offset, summary.begin() + d.Offset + d.Size}};
        keys.Crypt(d.Block, stream.Bytes);
        streams.push_back(std::move(stream));
    }
    return streams;
}

}  // namespace qm
