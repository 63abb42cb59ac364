// The encryption header an Office binary document keeps unencrypted ahead of its encrypted
// bytes (a Word document at the start of its table stream): which of the two RC4 methods
// encrypts the document, the salt, and the password verifier.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"

namespace qm {

inline constexpr const char* kMsgEncryptionDamaged = "The document's encryption header is damaged.";
inline constexpr const char* kMsgEncryptionUnsupported =
    "This document's kind of encryption is not supported.";

enum class TRc4Method {
    Md5,        // "RC4 encryption": MD5 of the password and salt, 128-bit keys
    CryptoApi,  // "RC4 CryptoAPI encryption": SHA-1 of salt and password, 40 to 128-bit keys
};

struct TEncryptionHeader {
    TRc4Method Method = TRc4Method::Md5;
    uint32_t KeyBits = 128;
    std::array<uint8_t, 16> Salt{};
    std::array<uint8_t, 16> EncryptedVerifier{};
    // The encrypted hash of the verifier: 16 bytes (MD5) or 20 (SHA-1).
    std::vector<uint8_t> EncryptedVerifierHash;
};

// Reads the header from its bytes: version 1.1 (the MD5 method: salt, verifier and its hash),
// or version 2.2, 3.2 or 4.2 (CryptoAPI: an EncryptionHeader naming RC4 and SHA-1, then an
// EncryptionVerifier). Errors: Damaged when the bytes end before the header does (with
// kMsgEncryptionDamaged), Unsupported for other versions, ciphers (AES), hashes, key sizes
// and external providers (with kMsgEncryptionUnsupported).
Result<TEncryptionHeader> ReadEncryptionHeader(std::span<const uint8_t> bytes);

}  // namespace qm
