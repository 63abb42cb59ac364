#include "crypt/encryption_header.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace qm {

namespace {

// EncryptionHeaderFlags: fCryptoAPI, fExternal, fAES.
constexpr uint32_t kFlagCryptoApi = 0x04;
constexpr uint32_t kFlagExternal = 0x10;
constexpr uint32_t kFlagAes = 0x20;
// CryptoAPI's algorithm identifiers; 0 lets the flags decide, which then say RC4 and SHA-1.
constexpr uint32_t kAlgRc4 = 0x6801;
constexpr uint32_t kAlgSha1 = 0x8004;
// The fixed part of an EncryptionHeader, before the provider's name.
constexpr uint32_t kFixedHeaderBytes = 32;
constexpr uint32_t kSha1Bytes = 20;

TError Damaged() {
    return MakeError(TErrorKind::Damaged, kMsgEncryptionDamaged);
}

TError Unsupported() {
    return MakeError(TErrorKind::Unsupported, kMsgEncryptionUnsupported);
}

template <size_t N>
bool ReadArray(ByteReader& r, std::array<uint8_t, N>& out) {
    std::span<const uint8_t> bytes;
    if (!r.Bytes(N, bytes)) return false;
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return true;
}

bool ReadVector(ByteReader& r, size_t n, std::vector<uint8_t>& out) {
    std::span<const uint8_t> bytes;
    if (!r.Bytes(n, bytes)) return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

Result<TEncryptionHeader> ReadMd5Header(ByteReader& r) {
    TEncryptionHeader header;
    header.Method = TRc4Method::Md5;
    if (!ReadArray(r, header.Salt) || !ReadArray(r, header.EncryptedVerifier) ||
        !ReadVector(r, 16, header.EncryptedVerifierHash))
        return Damaged();
    return header;
}

// The EncryptionHeader itself: RC4 with SHA-1 and a key of 40 to 128 bits, nothing else.
Result<uint32_t> ReadCryptoApiKeyBits(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    uint32_t flags = 0, sizeExtra = 0, alg = 0, algHash = 0, keyBits = 0;
    if (!r.U32(flags) || !r.U32(sizeExtra) || !r.U32(alg) || !r.U32(algHash) || !r.U32(keyBits))
        return Damaged();
    if ((flags & kFlagCryptoApi) == 0 || (flags & (kFlagExternal | kFlagAes)) != 0)
        return Unsupported();
    if ((alg != 0 && alg != kAlgRc4) || (algHash != 0 && algHash != kAlgSha1)) return Unsupported();
    // A key size of 0 stands for the smallest, 40 bits.
    if (keyBits == 0) keyBits = 40;
    if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0) return Unsupported();
    return keyBits;
}

Result<TEncryptionHeader> ReadCryptoApiHeader(ByteReader& r) {
    uint32_t flagsCopy = 0, headerSize = 0;
    std::span<const uint8_t> headerBytes;
    if (!r.U32(flagsCopy) || !r.U32(headerSize) || headerSize < kFixedHeaderBytes ||
        !r.Bytes(headerSize, headerBytes))
        return Damaged();
    Result<uint32_t> keyBits = ReadCryptoApiKeyBits(headerBytes);
    if (!keyBits) return keyBits.Error();
    TEncryptionHeader header;
    header.Method = TRc4Method::CryptoApi;
    header.KeyBits = *keyBits;
    uint32_t saltSize = 0, hashSize = 0;
    if (!r.U32(saltSize) || saltSize != header.Salt.size() || !ReadArray(r, header.Salt) ||
        !ReadArray(r, header.EncryptedVerifier) || !r.U32(hashSize) || hashSize != kSha1Bytes ||
        !ReadVector(r, hashSize, header.EncryptedVerifierHash))
        return Damaged();
    return header;
}

}  // namespace

Result<TEncryptionHeader> ReadEncryptionHeader(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    uint16_t major = 0, minor = 0;
    if (!r.U16(major) || !r.U16(minor)) return Damaged();
    if (major == 1 && minor == 1) return ReadMd5Header(r);
    if (major >= 2 && major <= 4 && minor == 2) return ReadCryptoApiHeader(r);
    return Unsupported();
}

}  // namespace qm
