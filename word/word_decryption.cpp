#include "word/word_decryption.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "word/fib.h"

namespace qm {

namespace {

// FibBase, the first 68 bytes of the main stream, is stored unencrypted.
constexpr size_t kClearFibBytes = 68;
// The streams are encrypted in blocks of 512 bytes, each with its own key.
constexpr size_t kBlockBytes = 512;
constexpr uint16_t kFlagEncrypted = 0x0100;
constexpr uint16_t kFlagWhichTable = 0x0200;
constexpr uint16_t kFlagObfuscated = 0x8000;
constexpr size_t kFlagsOffset = 0x0A;

struct TFibBase {
    uint16_t WIdent = 0;
    uint16_t NFib = 0;
    uint16_t Flags = 0;
    uint32_t LKey = 0;  // the size of the encryption header at the table stream's start
};

TFibBase ReadFibBase(std::span<const uint8_t> main) {
    ByteReader r(main);
    TFibBase base;
    r.U16(base.WIdent);
    r.U16(base.NFib);
    r.Seek(kFlagsOffset);
    r.U16(base.Flags);
    r.Skip(2);  // nFibBack
    r.U32(base.LKey);
    return base;
}

// A stream decrypted whole, block 0 at its start. The first clearBytes went through the cipher
// with the rest (the blocks count from the stream's start) but are stored as they are.
std::vector<uint8_t> Decrypted(std::span<const uint8_t> stored, const TRc4Keys& keys,
                               size_t clearBytes) {
    std::vector<uint8_t> bytes(stored.begin(), stored.end());
    keys.CryptBlocks(bytes, kBlockBytes);
    std::copy_n(stored.begin(), std::min(clearBytes, stored.size()), bytes.begin());
    return bytes;
}

void DecryptSummary(const TCompoundFile& root, const TRc4Keys& keys, TWordEncryption& out) {
    Result<TCfbStream> summary = root.OpenStream("encryption");
    if (!summary) return;
    Result<std::vector<TSummaryStream>> streams = DecryptSummaryStreams(summary->Bytes(), keys);
    if (streams) {
        out.Summary = std::move(*streams);
    } else {
        out.SummaryDamaged = true;
    }
}

}  // namespace

bool IsEncryptedWord97(std::span<const uint8_t> mainStream) {
    const TFibBase base = ReadFibBase(mainStream);
    return mainStream.size() >= kFibSize && base.WIdent == kWordIdent &&
           base.NFib >= kFirstWord97Fib && (base.Flags & kFlagEncrypted) != 0;
}

Result<TWordUnlock> UnlockWordDocument(const TCompoundFile& root,
                                       std::span<const uint8_t> mainStream,
                                       std::string_view password) {
    const TFibBase base = ReadFibBase(mainStream);
    if (base.Flags & kFlagObfuscated) return MakeError(TErrorKind::Unsupported, kMsgObfuscated);
    if (password.empty()) return MakeError(TErrorKind::Encrypted, kMsgEncrypted);
    Result<TCfbStream> table =
        root.OpenStream((base.Flags & kFlagWhichTable) ? "1Table" : "0Table");
    if (!table) return MakeError(TErrorKind::Damaged, kMsgNoTableStream);
    if (base.LKey > table->Size()) return MakeError(TErrorKind::Damaged, kMsgEncryptionDamaged);
    Result<TEncryptionHeader> header = ReadEncryptionHeader(table->Bytes().first(base.LKey));
    if (!header) return header.Error();
    TWordUnlock unlock{*header, TRc4Keys(*header, password), std::move(*table), base.LKey};
    if (!unlock.Keys.Verifies(unlock.Header))
        return MakeError(TErrorKind::WrongPassword, kMsgWrongPassword);
    return unlock;
}

Result<TDecryptedWord> DecryptWordDocument(const TCompoundFile& root,
                                           std::span<const uint8_t> mainStream,
                                           std::string_view password) {
    Result<TWordUnlock> unlock = UnlockWordDocument(root, mainStream, password);
    if (!unlock) return unlock.Error();
    const TRc4Keys& keys = unlock->Keys;
    TDecryptedWord out;
    out.Encryption.Method = unlock->Header.Method;
    out.Encryption.KeyBits = unlock->Header.KeyBits;
    std::vector<uint8_t> main = Decrypted(mainStream, keys, kClearFibBytes);
    // The decrypted streams are those of a document without a password.
    if (main.size() > kFlagsOffset + 1)
        main[kFlagsOffset + 1] &= static_cast<uint8_t>(~(kFlagEncrypted >> 8));
    out.Main = TCfbStream(std::move(main));
    out.Table = TCfbStream(Decrypted(unlock->Table.Bytes(), keys, unlock->HeaderBytes));
    if (Result<TCfbStream> data = root.OpenStream("Data")) {
        out.Data = TCfbStream(Decrypted(data->Bytes(), keys, 0));
        out.HasData = true;
    }
    if (out.Encryption.Method == TRc4Method::CryptoApi) DecryptSummary(root, keys, out.Encryption);
    return out;
}

}  // namespace qm
