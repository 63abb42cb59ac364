// The stored form of an inline picture in the "Data" stream: the picture header ([MS-DOC]
// 2.9.192 PICF) followed, for pictures kept as drawing records (mm = 100), by OfficeArt
// records ([MS-ODRAW]): containers, picture store entries with their names, and the picture
// records (blips) that hold JPEG, PNG or Windows metafile data.
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

enum class TBlipKind { Jpeg, Png, Metafile };

// One picture record's data, as a view into the stream.
struct TBlip {
    TBlipKind Kind = TBlipKind::Jpeg;
    // JPEG or PNG: the file's bytes. Metafile: the stored data (Compressed: a zlib stream).
    std::span<const uint8_t> Bytes;
    bool Compressed = false;
    uint32_t UncompressedSize = 0;  // metafile only
    TWmfRect Bounds;                // metafile only: the frame its drawing is meant for
};

struct TPictureRecords {
    TPicfHeader Header;
    std::vector<TBlip> Blips;  // in record order; empty when nothing we decode was found
};

// Reads the picture stored at fcPic of the "Data" stream. Returns nothing when the header does
// not fit into the stream or is inconsistent (lcb smaller than cbHeader). The record walk
// stays inside lcb and the stream; a record reaching beyond them ends it with the pictures
// found so far. Other mm values than 100 give a header without pictures.
std::optional<TPictureRecords> ReadPictureRecords(std::span<const uint8_t> data, uint32_t fcPic);

}  // namespace qm
