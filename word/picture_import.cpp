#include "word/picture_import.h"

#include <algorithm>

#include "word/import_context.h"
#include "word/inflate.h"
#include "metafile/metafile_player.h"
#include "word/model_output.h"
#include "word/picture_records.h"
#include "word/table_rows.h"

namespace qm {

namespace {

constexpr double kMmPerTwip = 25.39995 / 1440;
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

bool DecodeBlip(const TBlip& blip, const TWmfSizeLimit& limit, TBildRec& picture) {
    switch (blip.Kind) {
        case TBlipKind::Jpeg:
            return OpenDibMemory(picture, blip.Bytes, kFormatJpeg);
        case TBlipKind::Png:
            return OpenDibMemory(picture, blip.Bytes, kFormatPng);
        case TBlipKind::Metafile:
            break;
    }
    if (!blip.Compressed) return PlayWindowsMetafile(blip.Bytes, blip.Bounds, limit, picture);
    std::vector<uint8_t> metafile;
    if (!InflateZlib(blip.Bytes, blip.UncompressedSize, kMaxInflatedMetafileBytes, metafile))
        return false;
    return PlayWindowsMetafile(metafile, blip.Bounds, limit, picture);
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

}  // namespace

std::vector<TDecodedPicture> DecodePictures(std::span<const uint8_t> data, uint32_t fcPic,
                                            TPictureState& state) {
    std::vector<TDecodedPicture> pictures;
    const std::optional<TPictureRecords> records = ReadPictureRecords(data, fcPic);
    if (!records) return pictures;
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
        if (!DecodeBlip(blip, limit, decoded.Picture)) {
            ++state.Unreadable;
        } else if (!Charge(state, decoded.Picture)) {
            ++state.OverLimit;
        } else {
            pictures.push_back(std::move(decoded));
        }
    }
    return pictures;
}

void AddPicture(WordImportContext& ctx, const TBildRec& picture, uint32_t widthTwips,
                uint32_t heightTwips) {
    TDocument& doc = ctx.Doc;
    if (!picture.HasImage() || widthTwips == 0 || heightTwips == 0) return;
    if (doc.BildCount() >= kMaxPictures) {
        ++ctx.Pictures.OverLimit;
        return;
    }
    TCharRec* ch = doc.NewChar();
    if (ch == nullptr) return;
    doc.BilderListe.push_back(picture);
    ch->Kind = 1;
    ch->Code = 1;  // the picture character's own code; pictures are known by their kind
    ch->BildIndex = static_cast<uint16_t>(doc.BildCount() - 1);
    ch->Width = widthTwips * kMmPerTwip;
    ch->Height = heightTwips * kMmPerTwip;
    // A paragraph holding only a picture still takes its format (alignment, indents).
    WriteParagraphFormat(ctx);
    doc.CurChar += 1;
}

std::vector<std::string> PictureNotices(const TPictureState& state) {
    auto count = [](int32_t n) {
        return n == 1 ? std::string("1 picture was") : std::to_string(n) + " pictures were";
    };
    std::vector<std::string> notices;
    if (state.OverLimit > 0) {
        notices.push_back(count(state.OverLimit) + " left out: a document shows at most " +
                          std::to_string(kMaxImportPicturePixels) + " picture pixels and " +
                          std::to_string(kMaxPictures) + " pictures.");
    }
    if (state.Unreadable > 0) {
        notices.push_back(count(state.Unreadable) +
                          " left out: damaged, too large, or of a kind not read.");
    }
    return notices;
}

void ReadPicture(WordImportContext& ctx) {
    const uint32_t fcPic = ctx.Chp.FcPic;
    auto known = ctx.Pictures.ByPosition.find(fcPic);
    if (known == ctx.Pictures.ByPosition.end()) {
        std::vector<TDecodedPicture> decoded =
            DecodePictures(ctx.dataStream.Bytes(), fcPic, ctx.Pictures);
        known = ctx.Pictures.ByPosition.emplace(fcPic, std::move(decoded)).first;
    }
    for (const TDecodedPicture& picture : known->second)
        AddPicture(ctx, picture.Picture, picture.WidthTwips, picture.HeightTwips);
}

}  // namespace qm
