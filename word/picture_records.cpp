#include "word/picture_records.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace qm {

namespace {

constexpr size_t kPicfBytes = 68;
constexpr size_t kRecordHeaderBytes = 8;
constexpr uint16_t kContainerVersion = 0xF;

// OfficeArt record types.
constexpr uint16_t kBlipStoreEntry = 0xF007;  // OfficeArtFBSE
constexpr uint16_t kBlipEmf = 0xF01A;
constexpr uint16_t kBlipWmf = 0xF01B;
constexpr uint16_t kBlipPict = 0xF01C;
constexpr uint16_t kBlipJpeg = 0xF01D;
constexpr uint16_t kBlipPng = 0xF01E;
constexpr uint16_t kBlipDib = 0xF01F;
constexpr uint16_t kBlipTiff = 0xF029;
constexpr uint16_t kBlipJpegCmyk = 0xF02A;
// The types set aside for picture records (OfficeArtBlip).
constexpr uint16_t kFirstBlipType = 0xF018;
constexpr uint16_t kLastBlipType = 0xF117;

// OfficeArtFBSE: 36 bytes, the name's length at offset 33; the name and the embedded picture
// record follow.
constexpr size_t kBlipStoreEntryBytes = 36;
constexpr size_t kBlipNameLengthOffset = 33;

// Each picture record starts with one 16-byte identifier, or two when its instance is the odd
// one of its pair (0x46B, 0x6E1, 0x6E3, 0x217).
constexpr size_t kUidBytes = 16;
constexpr uint8_t kCompressionDeflate = 0x00;
constexpr uint8_t kCompressionNone = 0xFE;
constexpr uint8_t kFilterNone = 0xFE;

bool KnownInstance(uint16_t type, uint16_t instance) {
    switch (type) {
        case kBlipWmf:
            return instance == 0x216 || instance == 0x217;
        case kBlipEmf:
            return instance == 0x3D4 || instance == 0x3D5;
        case kBlipDib:
            return instance == 0x7A8 || instance == 0x7A9;
        case kBlipPng:
            return instance == 0x6E0 || instance == 0x6E1;
        case kBlipJpeg:
        case kBlipJpegCmyk:
            return instance == 0x46A || instance == 0x46B || instance == 0x6E2 || instance == 0x6E3;
        default:
            return false;
    }
}

size_t UidBytes(uint16_t instance) {
    return (instance & 1) ? 2 * kUidBytes : kUidBytes;
}

std::optional<TBlip> BitmapBlip(uint16_t type, uint16_t instance, std::span<const uint8_t> body) {
    const size_t skip = UidBytes(instance) + 1;  // the identifiers and the tag byte
    if (body.size() < skip) return std::nullopt;
    TBlip blip;
    blip.Kind = type == kBlipPng   ? TBlipKind::Png
                : type == kBlipDib ? TBlipKind::Dib
                                   : TBlipKind::Jpeg;
    blip.Bytes = body.subspan(skip);
    return blip;
}

std::optional<TBlip> MetafileBlip(uint16_t type, uint16_t instance, std::span<const uint8_t> body) {
    ByteReader r(body);
    TBlip blip;
    blip.Kind = type == kBlipEmf ? TBlipKind::Emf : TBlipKind::Metafile;
    uint32_t cbSave = 0;
    int32_t emuWidth = 0, emuHeight = 0;
    uint8_t compression = 0, filter = 0;
    r.Skip(UidBytes(instance));
    r.U32(blip.UncompressedSize);
    r.I32(blip.Bounds.Left), r.I32(blip.Bounds.Top), r.I32(blip.Bounds.Right);
    r.I32(blip.Bounds.Bottom), r.I32(emuWidth), r.I32(emuHeight);
    r.U32(cbSave), r.U8(compression), r.U8(filter);
    if (r.Failed() || filter != kFilterNone || !r.Bytes(cbSave, blip.Bytes)) return std::nullopt;
    if (compression != kCompressionDeflate && compression != kCompressionNone) return std::nullopt;
    blip.Compressed = compression == kCompressionDeflate;
    return blip;
}

std::optional<TBlip> ReadBlip(uint16_t type, uint16_t instance, std::span<const uint8_t> body) {
    if (!KnownInstance(type, instance)) return std::nullopt;
    if (type == kBlipWmf || type == kBlipEmf) return MetafileBlip(type, instance, body);
    return BitmapBlip(type, instance, body);
}

// The kind of a picture record the program does not draw.
std::optional<TBlipKind> UndrawnKind(uint16_t type) {
    switch (type) {
        case kBlipPict:
            return TBlipKind::Pict;
        case kBlipTiff:
            return TBlipKind::Tiff;
        default:
            return std::nullopt;
    }
}

void AddBlip(uint16_t type, uint16_t instance, std::span<const uint8_t> body,
             TPictureRecords& picture) {
    if (type < kFirstBlipType || type > kLastBlipType) return;  // shapes and their properties
    if (const std::optional<TBlipKind> kind = UndrawnKind(type)) {
        picture.NotDrawn.push_back(*kind);
    } else if (std::optional<TBlip> blip = ReadBlip(type, instance, body)) {
        picture.Blips.push_back(*blip);
    } else {
        ++picture.Damaged;
    }
}

TPicfHeader ReadPicf(ByteReader& r) {
    TPicfHeader h;
    const size_t start = r.Pos();
    r.U32(h.Lcb), r.U16(h.CbHeader), r.U16(h.Mm);
    r.Seek(start + 28);
    r.U16(h.DxaGoal), r.U16(h.DyaGoal), r.U16(h.Mx), r.U16(h.My);
    return h;
}

void WalkRecords(ByteReader& r, TPictureRecords& picture) {
    while (r.Remaining() >= kRecordHeaderBytes) {
        uint16_t versionAndInstance = 0, type = 0;
        uint32_t length = 0;
        r.U16(versionAndInstance), r.U16(type), r.U32(length);
        // A container's records follow its header directly.
        if ((versionAndInstance & 0xF) == kContainerVersion) continue;
        if (type == kBlipStoreEntry) {
            // The entry's picture record is embedded after its fixed part and its name.
            std::span<const uint8_t> fixed;
            if (!r.Bytes(kBlipStoreEntryBytes, fixed) || !r.Skip(fixed[kBlipNameLengthOffset]))
                return;
            continue;
        }
        std::span<const uint8_t> body;
        if (!r.Bytes(length, body)) return;  // cut short
        AddBlip(type, versionAndInstance >> 4, body, picture);
    }
}

}  // namespace

std::optional<TPictureRecords> ReadPictureRecords(std::span<const uint8_t> data, uint32_t fcPic) {
    if (fcPic > data.size() || kPicfBytes > data.size() - fcPic) return std::nullopt;
    ByteReader header(data);
    header.Seek(fcPic);
    TPictureRecords picture;
    picture.Header = ReadPicf(header);
    const TPicfHeader& h = picture.Header;
    if (h.Lcb < h.CbHeader) return std::nullopt;
    if (h.Mm != kPicfDrawingRecords) return picture;
    // The records end with lcb or with the stream, whichever comes first.
    const size_t end = fcPic + std::min<size_t>(h.Lcb, data.size() - fcPic);
    ByteReader records(data.first(end));
    if (!records.Seek(size_t{fcPic} + h.CbHeader)) return picture;
    WalkRecords(records, picture);
    return picture;
}

}  // namespace qm
