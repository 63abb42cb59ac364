#include "crypt/rc4_keys.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <vector>

#include "base/wipe.h"

namespace qm {

namespace {

// The MD5 method keeps 40 bits of each of its two hashes.
constexpr size_t kTruncatedHashBytes = 5;
// ... and repeats the truncated password hash with the salt this often.
constexpr int kSaltRepeats = 16;
constexpr size_t kRc4KeyBytes = 16;
// CryptoAPI's 40-bit keys are given to RC4 as 128 bits, the rest zeros.
constexpr size_t kShortestKeyBytes = 5;

template <class T>
void WipeObject(T& object) {
    Wipe(std::span<uint8_t>(reinterpret_cast<uint8_t*>(&object), sizeof(T)));
}

// Reads one code point of UTF-8 at pos; an invalid sequence gives U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos++]);
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4 || static_cast<size_t>(extra) > text.size() - pos) return 0xFFFD;
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
    pos += extra;
    return cp;
}

void PutUnit(std::vector<uint8_t>& out, uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

// The password as the writer hashed it: UTF-16LE code units, without a terminator.
std::vector<uint8_t> PasswordUnits(std::string_view password) {
    std::vector<uint8_t> out;
    out.reserve(2 * std::min(password.size() + 1, kMaxPasswordUnits + 1));
    size_t pos = 0;
    while (pos < password.size() && out.size() < 2 * kMaxPasswordUnits) {
        const char32_t cp = NextCodePoint(password, pos);
        if (cp < 0x10000) {
            PutUnit(out, cp);
        } else if (out.size() + 4 <= 2 * kMaxPasswordUnits) {
            PutUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
            PutUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            break;
        }
    }
    return out;
}

std::array<uint8_t, 4> BlockBytes(uint32_t block) {
    return {static_cast<uint8_t>(block), static_cast<uint8_t>(block >> 8),
            static_cast<uint8_t>(block >> 16), static_cast<uint8_t>(block >> 24)};
}

using TParts = std::initializer_list<std::span<const uint8_t>>;

// The MD5 (16 bytes) or SHA-1 (20 bytes) of the parts one after the other, into out.
void HashOf(TRc4Method method, TParts parts, uint8_t* out) {
    if (method == TRc4Method::Md5) {
        md5_ctx md5;
        md5_init(&md5);
        for (std::span<const uint8_t> part : parts)
            md5_update(&md5, part.size(), part.data());
        md5_digest(&md5, MD5_DIGEST_SIZE, out);
        WipeObject(md5);
    } else {
        sha1_ctx sha1;
        sha1_init(&sha1);
        for (std::span<const uint8_t> part : parts)
            sha1_update(&sha1, part.size(), part.data());
        sha1_digest(&sha1, SHA1_DIGEST_SIZE, out);
        WipeObject(sha1);
    }
}

size_t DigestBytes(TRc4Method method) {
    return method == TRc4Method::Md5 ? MD5_DIGEST_SIZE : SHA1_DIGEST_SIZE;
}

// The MD5 method: 40 bits of MD5(password), sixteen times with the salt, hashed again; 40 bits
// of that stand for the password.
void DeriveMd5(const TEncryptionHeader& header, std::span<const uint8_t> units, uint8_t* out) {
    std::array<uint8_t, MD5_DIGEST_SIZE> digest{};
    HashOf(TRc4Method::Md5, {units}, digest.data());
    std::vector<uint8_t> repeated;
    for (int i = 0; i < kSaltRepeats; ++i) {
        repeated.insert(repeated.end(), digest.begin(), digest.begin() + kTruncatedHashBytes);
        repeated.insert(repeated.end(), header.Salt.begin(), header.Salt.end());
    }
    HashOf(TRc4Method::Md5, {repeated}, digest.data());
    std::copy_n(digest.begin(), kTruncatedHashBytes, out);
    Wipe(repeated);
    Wipe(digest);
}

}  // namespace

TRc4Keys::TRc4Keys(const TEncryptionHeader& header, std::string_view password)
    : method_(header.Method),
      keyBytes_(std::clamp<uint32_t>(header.KeyBits / 8, kShortestKeyBytes, kRc4KeyBytes)) {
    std::vector<uint8_t> units = PasswordUnits(password);
    if (method_ == TRc4Method::Md5) {
        DeriveMd5(header, units, hash_.data());
    } else {
        // CryptoAPI: SHA-1 of the salt followed by the password.
        HashOf(TRc4Method::CryptoApi, {header.Salt, units}, hash_.data());
    }
    Wipe(units);
}

TRc4Keys::~TRc4Keys() {
    Wipe(hash_);
}

TRc4Keys::TRc4Keys(TRc4Keys&& other) noexcept
    : method_(other.method_), keyBytes_(other.keyBytes_), hash_(other.hash_) {}

void TRc4Keys::Crypt(uint32_t block, std::span<uint8_t> bytes) const {
    // The block's key: the hash of the password's hash and the block number. The MD5 method
    // uses all 128 bits; CryptoAPI the key size's worth of the SHA-1, and a 40-bit key is
    // padded with zeros to 128 bits.
    std::array<uint8_t, SHA1_DIGEST_SIZE> key{};
    const std::array<uint8_t, 4> number = BlockBytes(block);
    const size_t hashBytes = method_ == TRc4Method::Md5 ? kTruncatedHashBytes : hash_.size();
    HashOf(method_, {std::span(hash_).first(hashBytes), number}, key.data());
    size_t keyLength = kRc4KeyBytes;
    if (method_ == TRc4Method::CryptoApi) {
        std::fill(key.begin() + keyBytes_, key.end(), 0);
        keyLength = keyBytes_ == kShortestKeyBytes ? kRc4KeyBytes : keyBytes_;
    }
    arcfour_ctx rc4;
    arcfour_set_key(&rc4, keyLength, key.data());
    arcfour_crypt(&rc4, bytes.size(), bytes.data(), bytes.data());
    WipeObject(rc4);
    Wipe(key);
}

void TRc4Keys::CryptBlocks(std::span<uint8_t> stream, size_t blockBytes) const {
    if (blockBytes == 0) return;
    uint32_t block = 0;
    for (size_t pos = 0; pos < stream.size(); pos += blockBytes, ++block)
        Crypt(block, stream.subspan(pos, std::min(blockBytes, stream.size() - pos)));
}

bool TRc4Keys::Verifies(const TEncryptionHeader& header) const {
    // The verifier and its hash are one run of the cipher with block 0's key.
    std::vector<uint8_t> bytes(header.EncryptedVerifier.begin(), header.EncryptedVerifier.end());
    bytes.insert(bytes.end(), header.EncryptedVerifierHash.begin(),
                 header.EncryptedVerifierHash.end());
    Crypt(0, bytes);
    const auto verifier = std::span<const uint8_t>(bytes).first(header.EncryptedVerifier.size());
    const auto stored = std::span<const uint8_t>(bytes).subspan(verifier.size());
    std::array<uint8_t, SHA1_DIGEST_SIZE> digest{};
    HashOf(method_, {verifier}, digest.data());
    const bool same = stored.size() == DigestBytes(method_) &&
                      std::equal(stored.begin(), stored.end(), digest.begin());
    Wipe(bytes);
    return same;
}

}  // namespace qm
