#include "word/picture_import.h"

#include <algorithm>
#include <string>

#include "base/notices.h"
#include "metafile/emf_player.h"
#include "metafile/metafile_player.h"
#include "word/inflate.h"
#include "word/picture_records.h"

namespace qm {

namespace {

constexpr uint32_t kUnscaled = 1000;
constexpr uint32_t kTwipsPerInch = 1440;
// Metafiles often draw in units far finer than a printer's (equation editors use over 2000 per
// inch); their pictures get at most this many pixels per inch of their display size, which
// prints sharply and keeps a page of formulas from taking gigabytes.
constexpr uint32_t kMaxMetafileDpi = 300;

// The display size in twips: the goal size times the scaling in thousandths. A scaling of 0
// is taken as unscaled.
uint32_t Scaled(uint16_t goal, uint16_t scale) {
    return static_cast<uint32_t>(uint64_t{goal} * (scale == 0 ? kUnscaled : scale) / kUnscaled);
}

// At most kMaxMetafileDpi, at least one pixel.
int64_t PixelsFor(uint32_t twips) {
    return std::max<int64_t>(1, int64_t{twips} * kMaxMetafileDpi / kTwipsPerInch);
}

// An enhanced metafile at the limit's size; what it did not draw is counted.
bool PlayEmf(std::span<const uint8_t> bytes, const TWmfSizeLimit& limit, TBildRec& picture,
             TEmfCounts& counts) {
    TEmfPlayback playback;
    if (!PlayEnhancedMetafile(bytes, limit, picture, playback)) {
        ++counts.Damaged;
        return true;  // counted here, not as unreadable
    }
    if (playback.Drawn == 0) {
        ++counts.Empty;
    } else if (playback.Skipped > 0 || playback.Damaged) {
        ++counts.InPart;
    }
    return true;
}

bool PlayMetafile(const TBlip& blip, std::span<const uint8_t> bytes, const TWmfSizeLimit& limit,
                  TBildRec& picture, TEmfCounts& counts) {
    if (blip.Kind == TBlipKind::Emf) return PlayEmf(bytes, limit, picture, counts);
    return PlayWindowsMetafile(bytes, blip.Bounds, limit, picture);
}

// false: the picture did not decode and is counted as unreadable. An enhanced metafile with a
// damaged header gives true with an empty picture: it is counted among the metafiles.
bool DecodeBlip(const TBlip& blip, const TWmfSizeLimit& limit, TBildRec& picture,
                TEmfCounts& counts) {
    switch (blip.Kind) {
        case TBlipKind::Jpeg:
            return OpenDibMemory(picture, blip.Bytes, kFormatJpeg);
        case TBlipKind::Png:
            return OpenDibMemory(picture, blip.Bytes, kFormatPng);
        case TBlipKind::Dib:
            return DecodeDibPicture(blip.Bytes, picture);
        case TBlipKind::Metafile:
        case TBlipKind::Emf:
            break;
        default:
            return false;
    }
    if (!blip.Compressed) return PlayMetafile(blip, blip.Bytes, limit, picture, counts);
    std::vector<uint8_t> metafile;
    if (!InflateZlib(blip.Bytes, blip.UncompressedSize, kMaxInflatedMetafileBytes, metafile))
        return false;
    return PlayMetafile(blip, metafile, limit, picture, counts);
}

// Takes the picture's pixels from the budget; false (and the picture freed) when they do not
// fit any more.
bool Charge(TPictureState& state, TBildRec& picture) {
    const int64_t pixels = int64_t{DIBWidth(picture)} * DIBHeight(picture);
    if (pixels > state.PixelsLeft) {
        deldib(picture);
        return false;
    }
    state.PixelsLeft -= pixels;
    return true;
}

TUndrawnKind UndrawnOf(TBlipKind kind) {
    return kind == TBlipKind::Tiff ? TUndrawnKind::Tiff : TUndrawnKind::Pict;
}

// Counts what the records hold besides the pictures drawn; false when they hold nothing to draw.
bool CountLeftOut(const TPictureRecords& records, TPictureState& state) {
    const TPicfHeader& h = records.Header;
    if (h.Mm != kPicfDrawingRecords) {
        const TUndrawnKind kind =
            h.Mm == kPicfLinkedFile ? TUndrawnKind::Linked : TUndrawnKind::OlderForm;
        ++state.NotDrawn[static_cast<size_t>(kind)];
        return false;
    }
    for (const TBlipKind kind : records.NotDrawn)
        ++state.NotDrawn[static_cast<size_t>(UndrawnOf(kind))];
    state.Unreadable += records.Damaged;
    // Drawing records without any picture record: a shape the program does not read.
    if (records.Blips.empty() && records.NotDrawn.empty() && records.Damaged == 0)
        ++state.Unreadable;
    return !records.Blips.empty();
}

struct TUndrawnWords {
    const char* Noun;
    const char* Nouns;
};

constexpr TUndrawnWords kUndrawnWords[kUndrawnKinds] = {
    {"PICT picture", "PICT pictures"},
    {"TIFF picture", "TIFF pictures"},
    {"linked picture", "linked pictures"},
    {"picture in the older metafile form", "pictures in the older metafile form"},
};

}  // namespace

std::vector<TDecodedPicture> DecodePictures(std::span<const uint8_t> data, uint32_t fcPic,
                                            TPictureState& state) {
    std::vector<TDecodedPicture> pictures;
    const std::optional<TPictureRecords> records = ReadPictureRecords(data, fcPic);
    if (!records) {
        ++state.Unreadable;
        return pictures;
    }
    if (!CountLeftOut(*records, state)) return pictures;
    const TPicfHeader& h = records->Header;
    for (const TBlip& blip : records->Blips) {
        if (state.PixelsLeft <= 0) {
            ++state.OverLimit;
            continue;
        }
        TDecodedPicture decoded;
        decoded.WidthTwips = Scaled(h.DxaGoal, h.Mx);
        decoded.HeightTwips = Scaled(h.DyaGoal, h.My);
        const TWmfSizeLimit limit{PixelsFor(decoded.WidthTwips), PixelsFor(decoded.HeightTwips)};
        if (!DecodeBlip(blip, limit, decoded.Picture, state.Emf)) {
            ++state.Unreadable;
        } else if (decoded.Picture.Pixels() == nullptr) {
            continue;  // an enhanced metafile with a damaged header, counted as such
        } else if (!Charge(state, decoded.Picture)) {
            ++state.OverLimit;
        } else {
            pictures.push_back(std::move(decoded));
        }
    }
    return pictures;
}

void ReportPictures(const TPictureState& state, TNotices& notices) {
    const std::string limits = "left out: a document shows at most " +
                               std::to_string(kMaxImportPicturePixels) + " picture pixels and " +
                               std::to_string(kMaxPictures) + " pictures.";
    notices.Add(TNoticeKind::PictureLeftOut, "picture", "pictures", limits, state.OverLimit);
    notices.Add(TNoticeKind::PictureLeftOut, "picture", "pictures",
                "left out: damaged, too large, or of a kind not read.", state.Unreadable);
    for (size_t kind = 0; kind < kUndrawnKinds; ++kind) {
        notices.Add(TNoticeKind::PictureKind, kUndrawnWords[kind].Noun, kUndrawnWords[kind].Nouns,
                    "left out: pictures of this kind are not drawn.", state.NotDrawn[kind]);
    }
    notices.Add(TNoticeKind::PictureLeftOut, "EMF picture", "EMF pictures",
                "left out: the header or frame is damaged.", state.Emf.Damaged);
    notices.Add(TNoticeKind::PictureKind, "EMF picture", "EMF pictures",
                "drawn blank: no record draws anything.", state.Emf.Empty);
    notices.Add(TNoticeKind::PictureKind, "EMF picture", "EMF pictures",
                "drawn in part: records of kinds not read, or damaged ones, were skipped.",
                state.Emf.InPart);
}

const std::vector<TDecodedPicture>& TPictureReader::At(uint32_t fcPic) {
    auto known = byPosition_.find(fcPic);
    if (known == byPosition_.end())
        known = byPosition_.emplace(fcPic, DecodePictures(data_, fcPic, state_)).first;
    return known->second;
}

}  // namespace qm
