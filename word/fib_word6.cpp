#include "word/fib_word6.h"

#include "base/byte_reader.h"

namespace qm {

namespace {

// Reads the 32-bit values at the offsets given, in order, into the members.
struct TField32 {
    size_t Offset;
    uint32_t TFib::*Member;
};

// clang-format off
constexpr TField32 kFields[] = {
    {0x18, &TFib::FcMin},
    {0x34, &TFib::CcpText},        {0x38, &TFib::CcpFtn},         {0x3C, &TFib::CcpHdd},
    {0x40, &TFib::CcpMcr},         {0x44, &TFib::CcpAtn},         {0x48, &TFib::CcpEdn},
    {0x4C, &TFib::CcpTxbx},        {0x50, &TFib::CcpHdrTxbx},
    {0x60, &TFib::FcStshf},        {0x64, &TFib::LcbStshf},
    {0x68, &TFib::FcPlcffndRef},   {0x6C, &TFib::LcbPlcffndRef},
    {0x78, &TFib::FcPlcfandRef},   {0x7C, &TFib::LcbPlcfandRef},
    {0x88, &TFib::FcPlcfsed},      {0x8C, &TFib::LcbPlcfsed},
    {0xB0, &TFib::FcPlcfhdd},      {0xB4, &TFib::LcbPlcfhdd},
    {0xB8, &TFib::FcPlcfbteChpx},  {0xBC, &TFib::LcbPlcfbteChpx},
    {0xC0, &TFib::FcPlcfbtePapx},  {0xC4, &TFib::LcbPlcfbtePapx},
    {0xD0, &TFib::FcSttbfffn},
    {0x150, &TFib::FcDop},
    {0x160, &TFib::FcClx},         {0x164, &TFib::LcbClx},
    {0x1D2, &TFib::FcPlcfendRef},  {0x1D6, &TFib::LcbPlcfendRef},
    {0x222, &TFib::FcPlcftxbxTxt}, {0x226, &TFib::LcbPlcftxbxTxt},
    {0x232, &TFib::FcPlcfHdrtxbxTxt}, {0x236, &TFib::LcbPlcfHdrtxbxTxt},
};
// clang-format on

constexpr uint16_t kComplexFlag = 0x0004;

uint16_t U16At(ByteReader& r, size_t offset) {
    uint16_t value = 0;
    r.Seek(offset);
    r.U16(value);
    return value;
}

uint32_t U32At(ByteReader& r, size_t offset) {
    uint32_t value = 0;
    r.Seek(offset);
    r.U32(value);
    return value;
}

}  // namespace

bool IsWord6Fib(std::span<const uint8_t> mainStream) {
    ByteReader r(mainStream);
    uint16_t ident = 0;
    uint16_t nFib = 0;
    if (!r.U16(ident) || !r.U16(nFib)) return false;
    return (ident == kWord6Ident || ident == kWord6AsianIdent) && nFib >= kFirstWord6Fib &&
           nFib <= kLastWord6Fib;
}

Result<TFib> ReadWord6Fib(std::span<const uint8_t> mainStream, TWord6Header& header) {
    if (mainStream.size() < kWord6FibSize) {
        return MakeError(TErrorKind::Damaged, kMsgDamagedHeader);
    }
    ByteReader r(mainStream.first(kWord6FibSize));
    TFib fib;
    fib.WIdent = U16At(r, 0x00);
    fib.NFib = U16At(r, 0x02);
    fib.Flags = U16At(r, 0x0A);
    if (fib.Encrypted()) return MakeError(TErrorKind::Encrypted, kMsgEncrypted);
    for (const TField32& field : kFields)
        fib.*field.Member = U32At(r, field.Offset);
    header = TWord6Header{};
    header.Lid = U16At(r, 0x06);
    header.Chse = U16At(r, 0x14);
    header.LcbSttbfffn = U32At(r, 0xD4);
    header.LcbDop = U32At(r, 0x154);
    header.PnChpFirst = U16At(r, 0x18A);
    header.PnPapFirst = U16At(r, 0x18C);
    header.CpnBteChp = U16At(r, 0x18E);
    header.CpnBtePap = U16At(r, 0x190);
    header.Complex = (fib.Flags & kComplexFlag) != 0;
    return fib;
}

}  // namespace qm
