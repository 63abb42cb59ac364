#include "builder/word_protection.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <stdexcept>

#include "builder/byte_put.h"
#include "builder/cfb_writer.h"
#include "builder/word_builder.h"

namespace qm {

namespace {

using TBytes = std::vector<uint8_t>;

constexpr size_t kBlock = 512;
constexpr size_t kFibBase = 68;
constexpr char16_t kProvider[] = u"Microsoft Enhanced Cryptographic Provider v1.0";
// The verifier Word would draw at random; any 16 bytes do.
constexpr std::array<uint8_t, 16> kVerifier = {1,  2,  3,   5,   8,   13, 21,  34,
                                               55, 89, 144, 233, 121, 98, 219, 61};

TBytes Md5(const TBytes& in) {
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, in.size(), in.data());
    TBytes out(MD5_DIGEST_SIZE);
    md5_digest(&ctx, out.size(), out.data());
    return out;
}

TBytes Sha1(const TBytes& in) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, in.size(), in.data());
    TBytes out(SHA1_DIGEST_SIZE);
    sha1_digest(&ctx, out.size(), out.data());
    return out;
}

TBytes Cat(TBytes a, const TBytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TBytes Le32(uint32_t v) {
    TBytes out;
    Put32(out, v);
    return out;
}

class TKeys {
  public:
    explicit TKeys(const TPasswordProtection& p) : p_(p) {
        TBytes units;
        for (char16_t c : Utf8ToUtf16(p.Password))
            Put16(units, c);
        const TBytes salt(p.Salt.begin(), p.Salt.end());
        if (p.Cipher == TWordCipher::Rc4) {
            const TBytes h0 = Md5(units);
            TBytes repeated;
            for (int i = 0; i < 16; ++i)
                repeated = Cat(Cat(repeated, TBytes(h0.begin(), h0.begin() + 5)), salt);
            const TBytes h1 = Md5(repeated);
            base_.assign(h1.begin(), h1.begin() + 5);
        } else {
            base_ = Sha1(Cat(salt, units));
        }
    }

    TBytes Key(uint32_t block) const {
        if (p_.Cipher == TWordCipher::Rc4) return Md5(Cat(base_, Le32(block)));
        TBytes key = Sha1(Cat(base_, Le32(block)));
        const uint32_t bits = p_.KeyBits == 0 ? 40 : p_.KeyBits;
        key.resize(bits / 8);
        if (bits == 40) key.resize(16, 0);
        return key;
    }

    void Run(uint32_t block, uint8_t* bytes, size_t n) const {
        const TBytes key = Key(block);
        arcfour_ctx ctx;
        arcfour_set_key(&ctx, key.size(), key.data());
        arcfour_crypt(&ctx, n, bytes, bytes);
    }

    // Encrypts a whole stream in 512-byte blocks and puts its first `clear` bytes back.
    void Stream(TBytes& stream, size_t clear) const {
        const TBytes stored = stream;
        for (size_t pos = 0; pos < stream.size(); pos += kBlock)
            Run(static_cast<uint32_t>(pos / kBlock), stream.data() + pos,
                std::min(kBlock, stream.size() - pos));
        std::copy_n(stored.begin(), std::min(clear, stored.size()), stream.begin());
    }

  private:
    const TPasswordProtection& p_;
    TBytes base_;
};

// The verifier and its hash, encrypted as one run with block 0's key.
TBytes EncryptedVerifier(const TPasswordProtection& p, const TKeys& keys) {
    const TBytes verifier(kVerifier.begin(), kVerifier.end());
    TBytes both = Cat(verifier, p.Cipher == TWordCipher::Rc4 ? Md5(verifier) : Sha1(verifier));
    keys.Run(0, both.data(), both.size());
    return both;
}

TBytes CryptoApiHeader(const TPasswordProtection& p) {
    TBytes header;
    const uint32_t flags = 0x04 | (p.SummaryStreams.empty() ? 0x08 : 0);  // fCryptoAPI, fDocProps
    for (uint32_t v : {flags, 0u, 0x6801u, 0x8004u, p.KeyBits, 1u, 0u, 0u})
        Put32(header, v);
    for (char16_t c : std::u16string(kProvider))
        Put16(header, c);
    Put16(header, 0);
    return header;
}

TBytes HeaderBytes(const TPasswordProtection& p, const TKeys& keys) {
    TBytes out;
    const TBytes salt(p.Salt.begin(), p.Salt.end());
    if (p.Cipher == TWordCipher::Rc4) {
        Put16(out, 1);
        Put16(out, 1);
        return Cat(Cat(out, salt), EncryptedVerifier(p, keys));
    }
    const TBytes header = CryptoApiHeader(p);
    const TBytes verifier = EncryptedVerifier(p, keys);
    Put16(out, 4);
    Put16(out, 2);
    Put32(out, 0x04 | (p.SummaryStreams.empty() ? 0x08 : 0));
    Put32(out, static_cast<uint32_t>(header.size()));
    out = Cat(out, header);
    Put32(out, 16);
    out = Cat(out, salt);
    out.insert(out.end(), verifier.begin(), verifier.begin() + 16);
    Put32(out, 20);
    out.insert(out.end(), verifier.begin() + 16, verifier.end());
    return out;
}

// The encrypted summary stream: the streams (stream i with block i + 1), then the descriptor
// array with block 0.
TBytes EncryptedSummary(const TPasswordProtection& p, const TKeys& keys) {
    TBytes out(8, 0);
    TBytes array;
    Put32(array, static_cast<uint32_t>(p.SummaryStreams.size()));
    uint16_t block = 1;
    for (const auto& [name, bytes] : p.SummaryStreams) {
        const auto offset = static_cast<uint32_t>(out.size());
        TBytes encrypted = bytes;
        keys.Run(block, encrypted.data(), encrypted.size());
        out = Cat(out, encrypted);
        const std::u16string units = Utf8ToUtf16(name);
        Put32(array, offset);
        Put32(array, static_cast<uint32_t>(bytes.size()));
        Put16(array, block++);
        Put8(array, static_cast<uint8_t>(units.size()));
        Put8(array, 1);  // a stream
        Put32(array, 0);
        for (char16_t c : units)
            Put16(array, c);
        Put16(array, 0);
    }
    PutU32(out, 0, static_cast<uint32_t>(out.size()));
    PutU32(out, 4, static_cast<uint32_t>(array.size()));
    keys.Run(0, array.data(), array.size());
    return Cat(out, array);
}

// A property set stream with no property sets, as the placeholder beside the summary stream.
TBytes EmptyPropertySet() {
    TBytes out;
    Put16(out, 0xFFFE);
    Put16(out, 0);
    Put32(out, 0x00020006);
    return Cat(out, TBytes(20, 0));
}

}  // namespace

size_t ProtectionHeaderBytes(const TPasswordProtection& protection) {
    if (protection.Cipher == TWordCipher::None) return 0;
    if (protection.Cipher == TWordCipher::Rc4) return 52;
    return 12 + CryptoApiHeader(protection).size() + 4 + 16 + 16 + 4 + 20;
}

void ProtectStreams(TWordStreams& streams, const TPasswordProtection& protection) {
    if (protection.Cipher == TWordCipher::None) return;
    const TKeys keys(protection);
    const TBytes header = HeaderBytes(protection, keys);
    if (header.size() != ProtectionHeaderBytes(protection) || streams.Table.size() < header.size())
        throw std::logic_error("encryption header does not fit");
    std::copy(header.begin(), header.end(), streams.Table.begin());
    auto& main = streams.WordDocument;
    PutU16(main, 0x0A, static_cast<uint16_t>(main[0x0A] | (main[0x0B] << 8) | 0x0100));
    PutU32(main, 0x0E, static_cast<uint32_t>(header.size()));
    keys.Stream(main, kFibBase);
    keys.Stream(streams.Table, header.size());
    if (streams.HasData) keys.Stream(streams.Data, 0);
    if (protection.Cipher == TWordCipher::CryptoApi && !protection.SummaryStreams.empty()) {
        streams.Extra.emplace_back("encryption", EncryptedSummary(protection, keys));
        streams.Extra.emplace_back(
            "\x05"
            "DocumentSummaryInformation",
            EmptyPropertySet());
    }
}

}  // namespace qm
