#include "word/fib.h"

#include "base/byte_reader.h"

namespace qm {

namespace {

uint32_t U32At(ByteReader& reader, size_t offset) {
    uint32_t value = 0;
    reader.Seek(offset);
    reader.U32(value);
    return value;
}

uint16_t U16At(ByteReader& reader, size_t offset) {
    uint16_t value = 0;
    reader.Seek(offset);
    reader.U16(value);
    return value;
}

}  // namespace

Result<TFib> ReadFib(std::span<const uint8_t> mainStream) {
    if (mainStream.size() < kFibSize) {
        return MakeError(TErrorKind::Damaged, kMsgDamagedHeader);
    }
    ByteReader r(mainStream.first(kFibSize));
    TFib fib;
    fib.WIdent = U16At(r, 0x00);
    fib.NFib = U16At(r, 0x02);
    fib.Flags = U16At(r, 0x0A);
    // The identification word comes first: without it the other fields mean nothing.
    if (fib.WIdent != kWordIdent) {
        return MakeError(TErrorKind::Unsupported, kMsgUnsupportedVersion);
    }
    if (fib.Encrypted()) return MakeError(TErrorKind::Encrypted, kMsgEncrypted);
    if (fib.NFib < kFirstWord97Fib) {
        return MakeError(TErrorKind::Unsupported, kMsgUnsupportedVersion);
    }
    fib.FcMin = U32At(r, 0x18);
    fib.CcpText = U32At(r, 0x4C);
    fib.CcpFtn = U32At(r, 0x50);
    fib.CcpHdd = U32At(r, 0x54);
    fib.CcpMcr = U32At(r, 0x58);
    fib.CcpAtn = U32At(r, 0x5C);
    fib.CcpEdn = U32At(r, 0x60);
    fib.CcpTxbx = U32At(r, 0x64);
    fib.CcpHdrTxbx = U32At(r, 0x68);
    fib.FcStshf = U32At(r, 0xA2);
    fib.LcbStshf = U32At(r, 0xA6);
    fib.FcPlcffndRef = U32At(r, 0xAA);
    fib.LcbPlcffndRef = U32At(r, 0xAE);
    fib.FcPlcfandRef = U32At(r, 0xBA);
    fib.LcbPlcfandRef = U32At(r, 0xBE);
    fib.FcPlcfendRef = U32At(r, 0x20A);
    fib.LcbPlcfendRef = U32At(r, 0x20E);
    fib.FcPlcftxbxTxt = U32At(r, 0x25A);
    fib.LcbPlcftxbxTxt = U32At(r, 0x25E);
    fib.FcPlcfHdrtxbxTxt = U32At(r, 0x26A);
    fib.LcbPlcfHdrtxbxTxt = U32At(r, 0x26E);
    fib.FcPlcfsed = U32At(r, 0xCA);
    fib.LcbPlcfsed = U32At(r, 0xCE);
    fib.FcPlcfhdd = U32At(r, 0xF2);
    fib.LcbPlcfhdd = U32At(r, 0xF6);
    fib.FcPlcfbteChpx = U32At(r, 0xFA);
    fib.LcbPlcfbteChpx = U32At(r, 0xFE);
    fib.FcPlcfbtePapx = U32At(r, 0x102);
    fib.LcbPlcfbtePapx = U32At(r, 0x106);
    fib.FcSttbfffn = U32At(r, 0x112);
    fib.FcSttbfBkmk = U32At(r, 0x142);
    fib.LcbSttbfBkmk = U32At(r, 0x146);
    fib.FcPlcfBkf = U32At(r, 0x14A);
    fib.LcbPlcfBkf = U32At(r, 0x14E);
    fib.FcDop = U32At(r, 0x192);
    fib.FcClx = U32At(r, 0x1A2);
    fib.LcbClx = U32At(r, 0x1A6);
    fib.FcPlfLst = U32At(r, 0x2E2);
    fib.LcbPlfLst = U32At(r, 0x2E6);
    fib.FcPlfLfo = U32At(r, 0x2EA);
    fib.LcbPlfLfo = U32At(r, 0x2EE);
    return fib;
}

TDop ReadDop(std::span<const uint8_t> tableStream, uint32_t fcDop) {
    ByteReader r(tableStream);
    TDop dop;
    uint8_t flags = 0;
    if (r.Seek(fcDop) && r.U8(flags)) dop.FacingPages = (flags & 1) != 0;
    if (r.Seek(static_cast<uint64_t>(fcDop) + 10)) r.U16(dop.DefaultTabTwips);
    return dop;
}

}  // namespace qm
