// The keys a password gives an RC4-encrypted Office binary document: one RC4 key for each block
// number, derived from the password and the header's salt (MD5 or SHA-1, as the header says).
// What is derived from the password is overwritten when the keys go.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "crypt/encryption_header.h"

namespace qm {

// The longest password the derivation takes, in UTF-16 code units; longer ones are cut there.
inline constexpr size_t kMaxPasswordUnits = 255;

class TRc4Keys {
  public:
    // password is UTF-8; it is hashed as UTF-16LE, as the document's writer did (an invalid
    // UTF-8 sequence counts as U+FFFD).
    TRc4Keys(const TEncryptionHeader& header, std::string_view password);
    ~TRc4Keys();
    TRc4Keys(TRc4Keys&& other) noexcept;
    TRc4Keys& operator=(TRc4Keys&&) = delete;
    TRc4Keys(const TRc4Keys&) = delete;
    TRc4Keys& operator=(const TRc4Keys&) = delete;

    // Whether the password is the document's: the header's verifier, decrypted with block 0's
    // key, hashes to the decrypted verifier hash.
    bool Verifies(const TEncryptionHeader& header) const;

    // RC4 with the key of one block over bytes, in place: one run of the cipher, so decrypting
    // and encrypting are the same.
    void Crypt(uint32_t block, std::span<uint8_t> bytes) const;
    // RC4 over a whole stream in place, keyed anew at every blockBytes boundary: the stream's
    // first block has number 0.
    void CryptBlocks(std::span<uint8_t> stream, size_t blockBytes) const;

  private:
    TRc4Method method_;
    uint32_t keyBytes_;
    // MD5 method: the first 5 bytes of the salted hash; CryptoAPI: SHA-1 of salt and password.
    std::array<uint8_t, 20> hash_{};
};

}  // namespace qm
