#include "cfb/cfb_header.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace qm {
namespace {

constexpr uint16_t kByteOrderMark = 0xFFFE;
constexpr uint16_t kShift512 = 9;
constexpr uint16_t kShift4096 = 12;
constexpr uint16_t kMiniShift = 6;

bool HasSignature(std::span<const uint8_t> file) {
    return file.size() >= cfb::kSignature.size() &&
           std::equal(cfb::kSignature.begin(), cfb::kSignature.end(), file.begin());
}

TError Broken(const char* what) {
    return MakeError(TErrorKind::Damaged, std::string("Compound file header: ") + what);
}

// Version 3 files use 512-byte sectors, version 4 files 4096-byte sectors ([MS-CFB] 2.2).
Result<uint32_t> SectorSizeFor(uint16_t majorVersion, uint16_t sectorShift) {
    if (majorVersion == 3 && sectorShift == kShift512) return 512u;
    if (majorVersion == 4 && sectorShift == kShift4096) return 4096u;
    if (majorVersion != 3 && majorVersion != 4) return Broken("unknown major version");
    return Broken("sector size does not match the version");
}

}  // namespace

Result<TCfbHeader> ReadCfbHeader(std::span<const uint8_t> file) {
    if (file.size() < cfb::kHeaderBytes || !HasSignature(file)) {
        return MakeError(TErrorKind::NotWordDocument, "Not a compound file");
    }
    ByteReader reader(file);
    uint16_t minorVersion = 0, majorVersion = 0, byteOrder = 0, sectorShift = 0, miniShift = 0;
    uint32_t numDirSectors = 0, transaction = 0, miniCutoff = 0;
    TCfbHeader header;
    reader.Seek(0x18);
    reader.U16(minorVersion);
    reader.U16(majorVersion);
    reader.U16(byteOrder);
    reader.U16(sectorShift);
    reader.U16(miniShift);
    reader.Skip(6);
    reader.U32(numDirSectors);
    reader.U32(header.NumFatSectors);
    reader.U32(header.FirstDirSector);
    reader.U32(transaction);
    reader.U32(miniCutoff);
    reader.U32(header.FirstMiniFatSector);
    reader.U32(header.NumMiniFatSectors);
    reader.U32(header.FirstDifatSector);
    reader.U32(header.NumDifatSectors);
    for (uint32_t& entry : header.Difat)
        reader.U32(entry);
    if (reader.Failed()) return Broken("cut short");

    if (byteOrder != kByteOrderMark) return Broken("wrong byte order mark");
    Result<uint32_t> sectorSize = SectorSizeFor(majorVersion, sectorShift);
    if (!sectorSize) return sectorSize.Error();
    if (miniShift != kMiniShift) return Broken("mini sector size is not 64");
    if (miniCutoff != cfb::kMiniStreamCutoff) return Broken("mini stream cutoff is not 4096");
    header.MajorVersion = majorVersion;
    header.SectorSize = *sectorSize;
    return header;
}

}  // namespace qm
