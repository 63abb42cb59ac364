// The stored form of an inline picture in the "Data" stream: the picture header (PICF)
// followed, for pictures kept as drawing records (mm = 100), by OfficeArt records: containers,
// picture store entries (OfficeArtFBSE) with their names, and the picture records (blips) that
// hold JPEG, PNG, Windows metafile, EMF, PICT, DIB or TIFF data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "metafile/metafile_player.h"

namespace qm {

// The picture header fields the import uses.
struct TPicfHeader {
    uint32_t Lcb = 0;       // this header and the records after it, in bytes
    uint16_t CbHeader = 0;  // 68
    uint16_t Mm = 0;        // 100: drawing records follow
    uint16_t DxaGoal = 0;   // display size before scaling, twips
    uint16_t DyaGoal = 0;
    uint16_t Mx = 0;  // scaling, 1/1000
    uint16_t My = 0;
};

inline constexpr uint16_t kPicfDrawingRecords = 100;
// mm of a linked picture: a file name precedes the drawing records.
inline constexpr uint16_t kPicfLinkedFile = 0x66;

// The kinds of picture records. The program draws all but PICT and TIFF.
enum class TBlipKind { Jpeg, Png, Metafile, Emf, Pict, Dib, Tiff };

// One picture record's data, as a view into the stream.
struct TBlip {
    TBlipKind Kind = TBlipKind::Jpeg;
    // JPEG or PNG: the file's bytes; DIB: the bitmap without a file header. Metafile and EMF:
    // the stored data (Compressed: a zlib stream).
    std::span<const uint8_t> Bytes;
    bool Compressed = false;
    uint32_t UncompressedSize = 0;  // metafile and EMF only
    TWmfRect Bounds;                // metafile only: the frame its drawing is meant for
};

struct TPictureRecords {
    TPicfHeader Header;
    std::vector<TBlip> Blips;         // the ones of kinds drawn, in record order
    std::vector<TBlipKind> NotDrawn;  // the kinds of the other picture records, in record order
    int32_t Damaged = 0;              // picture records that could not be read, or of no kind known
};

// Reads the picture stored at fcPic of the "Data" stream. Returns nothing when the header does
// not fit into the stream or is inconsistent (lcb smaller than cbHeader). The record walk
// stays inside lcb and the stream; a record reaching beyond them ends it with the pictures
// found so far. Other mm values than 100 give a header without picture records.
std::optional<TPictureRecords> ReadPictureRecords(std::span<const uint8_t> data, uint32_t fcPic);

}  // namespace qm
