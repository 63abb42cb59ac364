// The encrypted summary stream of a document encrypted with RC4 CryptoAPI: the document's
// property streams (SummaryInformation, DocumentSummaryInformation), each encrypted with the
// key of its own block number, and after them the array that describes them, encrypted with
// block 0's key.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "crypt/rc4_keys.h"

namespace qm {

struct TSummaryStream {
    std::string Name;  // UTF-8, as the descriptor names it
    std::vector<uint8_t> Bytes;
};

// Decrypts every stream the descriptor array names (storages are skipped). Errors (Damaged,
// kMsgEncryptionDamaged): the array or a stream lies outside the summary stream.
Result<std::vector<TSummaryStream>> DecryptSummaryStreams(std::span<const uint8_t> summary,
                                                          const TRc4Keys& keys);

}  // namespace qm
