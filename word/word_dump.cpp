#include "word/word_dump.h"

#include <sstream>

#include "word/font_table.h"
#include "word/import_context.h"
#include "word/section.h"
#include "word/stylesheet.h"

namespace qm {

namespace {

void DumpFib(std::ostream& out, const TFib& fib) {
    out << "FIB: wIdent 0x" << std::hex << fib.WIdent << std::dec << ", nFib " << fib.NFib
        << ", flags 0x" << std::hex << fib.Flags << std::dec << ", table stream "
        << (fib.WhichTblStm() ? "1Table" : "0Table") << "\n";
    out << "  ccpText " << fib.CcpText << ", ccpFtn " << fib.CcpFtn << ", fcMin " << fib.FcMin
        << "\n";
    out << "  stylesheet at " << fib.FcStshf << ", sections " << fib.FcPlcfsed << "/"
        << fib.LcbPlcfsed << ", header stories " << fib.FcPlcfhdd << "/" << fib.LcbPlcfhdd
        << ", CHPX bins " << fib.FcPlcfbteChpx << "/" << fib.LcbPlcfbteChpx << ", PAPX bins "
        << fib.FcPlcfbtePapx << "/" << fib.LcbPlcfbtePapx << ", fonts " << fib.FcSttbfffn
        << ", DOP " << fib.FcDop << ", CLX " << fib.FcClx << "/" << fib.LcbClx << "\n";
}

void DumpTables(std::ostream& out, const WordImportContext& ctx) {
    const auto& pieces = ctx.pieces.Pieces();
    out << "Pieces: " << pieces.Count() << "\n";
    for (int32_t i = 0; i < pieces.Count(); ++i) {
        const uint32_t fc = pieces.Records[i];
        out << "  CP " << pieces.Positions[i] << ".." << pieces.Positions[i + 1] << " at "
            << ((fc & 0x40000000) ? (fc & ~0x40000000u) / 2 : fc)
            << ((fc & 0x40000000) ? " (8-bit)" : " (16-bit)") << "\n";
    }
    out << "Sections: " << ctx.sections.Count() << "\n";
    for (int32_t i = 0; i < ctx.sections.Count(); ++i) {
        out << "  CP " << ctx.sections.Positions[i] << ".." << ctx.sections.Positions[i + 1]
            << ", properties at " << ctx.sections.Records[i].FcSepx << "\n";
    }
    out << "Header stories: " << ctx.headerStories.Count() << "\n";
    out << "CHPX pages: " << ctx.chpxBins.PageCount() << " (" << ctx.chpxBins.MissingPages()
        << " outside the stream), PAPX pages: " << ctx.papxBins.PageCount() << " ("
        << ctx.papxBins.MissingPages() << " outside the stream)\n";
    out << "DOP: facing pages " << ctx.dop.FacingPages << ", default tab "
        << ctx.dop.DefaultTabTwips << " twips\n";
    out << "Fonts: " << ctx.fontNames.size() << "\n";
    for (size_t i = 0; i < ctx.fontNames.size(); ++i) {
        out << "  " << i << " " << ctx.fontNames[i] << "\n";
    }
    out << "Styles: " << ctx.styles.size() << "\n";
}

}  // namespace

std::string DumpWordDocument(std::vector<uint8_t> fileBytes) {
    std::ostringstream out;
    Result<TCompoundFile> root = TCompoundFile::Open(std::move(fileBytes));
    if (!root) return "Not a readable compound file: " + root.Error().Message + "\n";
    out << "Streams:\n";
    for (const std::string& name : root->StreamNames()) {
        Result<TCfbStream> stream = root->OpenStream(name);
        out << "  " << name << " " << (stream ? stream->Size() : 0) << " bytes\n";
    }
    TDocument doc;
    WordImportContext ctx(doc, nullptr, nullptr);
    Result<TCfbStream> main = root->OpenStream("WordDocument");
    if (!main) return out.str() + "No WordDocument stream\n";
    ctx.mainStream = std::move(*main);
    Result<TFib> fib = ReadFib(ctx.mainStream.Bytes());
    if (!fib) return out.str() + "FIB: " + fib.Error().Message + "\n";
    ctx.fib = *fib;
    DumpFib(out, ctx.fib);
    Result<TCfbStream> table = root->OpenStream(ctx.fib.WhichTblStm() ? "1Table" : "0Table");
    if (!table) return out.str() + "No table stream\n";
    ctx.tableStream = std::move(*table);
    ReadWordTables(ctx);
    DumpTables(out, ctx);
    return out.str();
}

}  // namespace qm
