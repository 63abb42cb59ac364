// Pictures for the document builder, stored as Word keeps an inline picture in the "Data"
// stream: the picture header (PICF) followed by OfficeArt records - a
// shape container, a picture store entry with its name and the picture record with its
// identifiers, tag or metafile header. Also small PNG files and zlib streams made without a
// compressor (stored blocks), so that tests need no image library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// Metafile is a Windows metafile; Emf and Pict are stored like it (a metafile header before
// the data), in records of their own types. Dib is a bitmap without file header, stored like
// JPEG and PNG files.
enum class TStoredKind { Jpeg, Png, Metafile, Emf, Pict, Dib };

struct TStoredPicture {
    TStoredKind Kind = TStoredKind::Png;
    // The JPEG or PNG file, or the metafile (compressed here when CompressMetafile is set).
    std::vector<uint8_t> Bytes;
    uint16_t Mm = 100;
    uint16_t DxaGoal = 1440;  // twips
    uint16_t DyaGoal = 1440;
    uint16_t Mx = 1000;  // scaling in thousandths
    uint16_t My = 1000;
    bool TwoUids = false;    // the instance that carries a second identifier
    std::string StoreName;   // the picture store entry's name (written as UTF-16)
    bool StoreEntry = true;  // false: the picture record follows the shape container
    bool CompressMetafile = true;
    std::array<int32_t, 4> Bounds{0, 0, 100, 100};  // metafile: left, top, right, bottom
};

// The bytes to put into the "Data" stream for one picture (PICF and records).
std::vector<uint8_t> StorePicture(const TStoredPicture& picture);

// A zlib stream holding raw in stored (uncompressed) deflate blocks.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw);

// A PNG file of 8-bit RGB pixels (0xRRGGBB, top row first, width * height of them).
std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, const std::vector<uint32_t>& rgb);

}  // namespace qm
