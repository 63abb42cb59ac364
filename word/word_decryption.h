// The decryption layer under the parsed file: the streams of a password-protected Word 97-2003
// document (RC4 or RC4 CryptoAPI encryption), decrypted in memory before the version reader
// parses them. Nothing decrypted is written anywhere.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "cfb/compound_file.h"
#include "crypt/encrypted_summary.h"
#include "crypt/rc4_keys.h"

namespace qm {

// Whether the main stream starts with the FIB of a Word 97 or later document whose FibBase
// says it is encrypted (fEncrypted). Older versions and damaged headers are left to ReadFib.
bool IsEncryptedWord97(std::span<const uint8_t> mainStream);

// An encrypted document opened with its password: the header, the keys, and the table stream
// as stored, whose first HeaderBytes (lKey) hold the header.
struct TWordUnlock {
    TEncryptionHeader Header;
    TRc4Keys Keys;
    TCfbStream Table;
    uint32_t HeaderBytes = 0;
};

// Checks the password against the document's verifier; nothing is decrypted yet. Errors:
// Unsupported for XOR obfuscation (kMsgObfuscated) and for encryption headers of another kind;
// Encrypted when password is empty (kMsgEncrypted); Damaged for a missing table stream or an
// encryption header longer than the table stream; WrongPassword (kMsgWrongPassword).
Result<TWordUnlock> UnlockWordDocument(const TCompoundFile& root,
                                       std::span<const uint8_t> mainStream,
                                       std::string_view password);

// How a decrypted document was encrypted, and the property streams of its encrypted summary
// stream ("encryption") when it has one; SummaryDamaged when it has one that cannot be read.
struct TWordEncryption {
    TRc4Method Method = TRc4Method::Md5;
    uint32_t KeyBits = 0;
    std::vector<TSummaryStream> Summary;
    bool SummaryDamaged = false;
};

struct TDecryptedWord {
    TWordEncryption Encryption;
    TCfbStream Main;   // with fEncrypted cleared, as an unencrypted document's
    TCfbStream Table;  // the encryption header at its start is kept as stored
    TCfbStream Data;
    bool HasData = false;
};

// Unlocks the document, then decrypts the main stream past its unencrypted FibBase, the table
// stream past its encryption header, the whole "Data" stream and the encrypted summary stream.
// Errors: those of UnlockWordDocument.
Result<TDecryptedWord> DecryptWordDocument(const TCompoundFile& root,
                                           std::span<const uint8_t> mainStream,
                                           std::string_view password);

}  // namespace qm
