// Password protection for builder documents, written as Word writes it: the RC4 encryption
// with an MD5 key or the RC4 CryptoAPI encryption with a SHA-1 key, over the main stream past
// its FibBase, the table stream past the encryption header the builder puts at its start, and
// the "Data" stream; CryptoAPI documents may keep their property streams in the encrypted
// summary stream. The builder encrypts with Nettle on its own, apart from the reader's code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct TWordStreams;

enum class TWordCipher { None, Rc4, CryptoApi };

struct TPasswordProtection {
    TWordCipher Cipher = TWordCipher::None;
    std::string Password;    // UTF-8
    uint32_t KeyBits = 128;  // CryptoAPI: 40 to 128 in steps of 8 (0 is written as is)
    std::array<uint8_t, 16> Salt = {0x5A, 0x17, 0xC3, 0x08, 0x9E, 0x61, 0x2B, 0xF4,
                                    0x70, 0x0D, 0xB6, 0x43, 0xE8, 0x95, 0x21, 0xCA};
    // CryptoAPI: these property streams go encrypted into the stream "encryption", each with
    // the key of its own block number (1, 2, ...), and a placeholder
    // "\x05DocumentSummaryInformation" is written in the clear.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> SummaryStreams;
    bool XorObfuscated = false;  // only the flag: fObfuscated is set beside fEncrypted
};

// The size of the encryption header (lKey) at the start of the table stream; 0 without a cipher.
size_t ProtectionHeaderBytes(const TPasswordProtection& protection);

// Writes the header into the first ProtectionHeaderBytes of the table stream, sets fEncrypted
// and lKey in the FIB and encrypts the streams in 512-byte blocks.
void ProtectStreams(TWordStreams& streams, const TPasswordProtection& protection);

}  // namespace qm
