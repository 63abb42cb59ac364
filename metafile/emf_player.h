// Enhanced metafiles ([MS-EMF]) played into pictures over the same Cairo machinery as the
// Windows metafile player: the records that documents use (the mapping, the object table,
// lines, shapes, paths, clipping, text and bitmaps). EMF+ records inside comments are passed
// over: the plain records after them draw the same picture. Records of other kinds are skipped
// and counted.
#pragma once

#include <cstdint>
#include <span>

#include "metafile/metafile_player.h"
#include "raster/dib.h"

namespace qm {

// What one playback of an enhanced metafile did.
struct TEmfPlayback {
    int32_t Drawn = 0;     // records that paint (shapes, text, bitmaps)
    int32_t Skipped = 0;   // records of kinds the player does not read
    bool Damaged = false;  // a record ran past the end or broke off its playback
};

// Plays an enhanced metafile into a 24-bit picture on white. The picture covers the header's
// frame; it is size.Width by size.Height pixels when both are given (the display size at the
// resolution the caller wants), else one pixel per pixel of the reference device the metafile
// was made on; it shrinks, keeping its shape, to kMaxMetafilePixels. Returns false and leaves
// picture empty when the header is not an enhanced metafile's or its frame is empty or absurd.
bool PlayEnhancedMetafile(std::span<const uint8_t> metafile, const TWmfSizeLimit& size,
                          TDib& picture, TEmfPlayback& playback);

// A device-independent bitmap stored alone (BITMAPINFOHEADER, colour table and rows, no file
// header) as a 24-bit picture. false (picture empty) when it is damaged, compressed or of a
// depth not read.
bool DecodeDibPicture(std::span<const uint8_t> dib, TDib& picture);

}  // namespace qm
