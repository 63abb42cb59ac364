#include "word/property_update.h"

#include "base/byte_reader.h"
#include "word/import_context.h"
#include "word/sprm.h"

namespace qm {

namespace {

// [MS-DOC] 2.9.23 BxPap: each paragraph run's entry is 13 bytes (offset byte and PHE).
constexpr size_t kBxPapSize = 13;

// The byte at pos of a page, or 0 outside it.
uint8_t PageByte(const TFkpRun& run, size_t pos) {
    return pos < run.Page.size() ? run.Page[pos] : 0;
}

void SetParagraphBase(WordImportContext& ctx, size_t istd) {
    const TStyleEntry& style = istd < ctx.styles.size() ? ctx.styles[istd] : ctx.styles[0];
    ctx.Pap = style.Pap;
    ctx.Chp = style.Chp;
    ctx.ParaStylePap = ctx.Pap;
    ctx.ParaStyleChp = ctx.Chp;
}

void ApplyParagraphRun(WordImportContext& ctx, const TFkpRun& run) {
    const size_t entry = (static_cast<size_t>(run.Crun) + 1) * 4 + kBxPapSize * run.Index;
    const size_t b = PageByte(run, entry);
    if (b == 0 || 2 * b > 510) {
        SetParagraphBase(ctx, 0);
        return;
    }
    // [MS-DOC] 2.9.175 PapxInFkp: a count of 16-bit words (or 0 and the count in the next
    // byte), then the style index and the property list.
    ByteReader r(run.Page);
    r.Seek(2 * b);
    uint8_t cw = 0;
    r.U8(cw);
    int64_t length = 2 * static_cast<int64_t>(cw) - 3;
    if (cw == 0) {
        r.U8(cw);
        length = 2 * static_cast<int64_t>(cw) - 2;
    }
    uint16_t istd = 0;
    r.U16(istd);
    SetParagraphBase(ctx, istd);
    std::span<const uint8_t> list;
    if (length > 0 && r.Bytes(static_cast<size_t>(length), list)) ApplySprms(ctx, list);
}

void ApplyCharacterRun(WordImportContext& ctx, const TFkpRun& run) {
    const size_t b = PageByte(run, (static_cast<size_t>(run.Crun) + 1) * 4 + run.Index);
    if (b == 0 || 2 * b > 510) return;
    // [MS-DOC] 2.9.41 Chpx: a byte count, then the property list.
    ByteReader r(run.Page);
    r.Seek(2 * b);
    uint8_t cb = 0;
    r.U8(cb);
    std::span<const uint8_t> list;
    if (r.Bytes(cb, list)) ApplySprms(ctx, list);
}

}  // namespace

void UpdateParagraphProperties(WordImportContext& ctx, uint64_t fc) {
    const int32_t run = ctx.papxBins.FindRun(fc);
    if (run >= 0) ApplyParagraphRun(ctx, ctx.papxBins.Run(run));
}

void UpdateCharacterProperties(WordImportContext& ctx, uint64_t fc) {
    const int32_t run = ctx.chpxBins.FindRun(fc);
    if (run >= 0) ApplyCharacterRun(ctx, ctx.chpxBins.Run(run));
}

void UpdateProperties(WordImportContext& ctx, uint64_t fc) {
    const int32_t paraRun = ctx.papxBins.FindRun(fc);
    const int32_t charRun = ctx.chpxBins.FindRun(fc);
    if (ctx.propsCached && paraRun == ctx.lastParaRun && charRun == ctx.lastCharRun) return;
    if (paraRun >= 0) ApplyParagraphRun(ctx, ctx.papxBins.Run(paraRun));
    if (charRun >= 0) ApplyCharacterRun(ctx, ctx.chpxBins.Run(charRun));
    ctx.lastParaRun = paraRun;
    ctx.lastCharRun = charRun;
    // Without a paragraph run nothing resets the CHP, so a character list (a toggle, say)
    // acts again on every character, as it would without the cache.
    ctx.propsCached = paraRun >= 0 || charRun < 0;
    ++ctx.PropsVersion;
}

}  // namespace qm
