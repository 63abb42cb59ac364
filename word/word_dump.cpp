#include "word/word_dump.h"

#include <sstream>

#include "word/word_file.h"

namespace qm {

namespace {

void DumpFib(std::ostream& out, const TFib& fib) {
    out << "FIB: wIdent 0x" << std::hex << fib.WIdent << std::dec << ", nFib " << fib.NFib
        << ", flags 0x" << std::hex << fib.Flags << std::dec << ", table stream "
        << (fib.WhichTblStm() ? "1Table" : "0Table") << "\n";
    out << "  ccpText " << fib.CcpText << ", ccpFtn " << fib.CcpFtn << ", ccpHdd " << fib.CcpHdd
        << ", ccpAtn " << fib.CcpAtn << ", ccpEdn " << fib.CcpEdn << ", ccpTxbx " << fib.CcpTxbx
        << ", ccpHdrTxbx " << fib.CcpHdrTxbx << ", fcMin " << fib.FcMin << "\n";
    out << "  stylesheet at " << fib.FcStshf << ", sections " << fib.FcPlcfsed << "/"
        << fib.LcbPlcfsed << ", header stories " << fib.FcPlcfhdd << "/" << fib.LcbPlcfhdd
        << ", CHPX bins " << fib.FcPlcfbteChpx << "/" << fib.LcbPlcfbteChpx << ", PAPX bins "
        << fib.FcPlcfbtePapx << "/" << fib.LcbPlcfbtePapx << ", fonts " << fib.FcSttbfffn
        << ", DOP " << fib.FcDop << ", CLX " << fib.FcClx << "/" << fib.LcbClx << "\n";
}

void DumpEncryption(std::ostream& out, const TWordEncryption& encryption) {
    out << "Encryption: "
        << (encryption.Method == TRc4Method::Md5 ? "RC4 (MD5)" : "RC4 CryptoAPI (SHA-1)") << ", "
        << encryption.KeyBits << "-bit key\n";
    if (encryption.SummaryDamaged) out << "  encrypted summary stream: damaged\n";
    for (const TSummaryStream& stream : encryption.Summary)
        out << "  encrypted summary: " << stream.Name << " " << stream.Bytes.size() << " bytes\n";
}

const char* StoryName(TStoryKind kind) {
    static constexpr const char* kNames[kStoryKinds] = {
        "main text", "footnotes", "headers",    "macros",
        "comments",  "endnotes",  "text boxes", "header text boxes"};
    return kNames[static_cast<size_t>(kind)];
}

void DumpStories(std::ostream& out, const TStoryTable& stories) {
    out << "Stories:\n";
    for (size_t i = 0; i < kStoryKinds; ++i) {
        const auto kind = static_cast<TStoryKind>(i);
        const TStory& story = stories[kind];
        if (story.Cps.Empty()) continue;
        out << "  " << StoryName(kind) << ": CP " << story.Cps.First << ".." << story.Cps.Last;
        if (story.Items > 0) out << ", " << story.Items << " items";
        out << "\n";
    }
}

void DumpTables(std::ostream& out, const TWordFile& file) {
    const auto& pieces = file.Pieces.Pieces();
    out << "Pieces: " << pieces.Count() << "\n";
    for (int32_t i = 0; i < pieces.Count(); ++i) {
        const uint32_t fc = pieces.Records[i];
        out << "  CP " << pieces.Positions[i] << ".." << pieces.Positions[i + 1] << " at "
            << ((fc & 0x40000000) ? (fc & ~0x40000000u) / 2 : fc)
            << ((fc & 0x40000000) ? " (8-bit)" : " (16-bit)") << "\n";
    }
    const auto& sections = file.Sections.Sections();
    out << "Sections: " << sections.Count() << "\n";
    for (int32_t i = 0; i < sections.Count(); ++i) {
        out << "  CP " << sections.Positions[i] << ".." << sections.Positions[i + 1]
            << ", properties at " << sections.Records[i].FcSepx << "\n";
    }
    out << "Header stories: " << file.HeaderStories.Count() << "\n";
    DumpStories(out, file.Stories);
    out << "CHPX pages: " << file.ChpxBins.PageCount() << " (" << file.ChpxBins.MissingPages()
        << " outside the stream), PAPX pages: " << file.PapxBins.PageCount() << " ("
        << file.PapxBins.MissingPages() << " outside the stream)\n";
    out << "DOP: facing pages " << file.Dop.FacingPages << ", default tab "
        << file.Dop.DefaultTabTwips << " twips\n";
    out << "Fonts: " << file.Fonts.size() << "\n";
    for (size_t i = 0; i < file.Fonts.size(); ++i) {
        out << "  " << i << " " << file.Fonts[i].Name << " (family "
            << int(file.Fonts[i].FamilyClass) << ")\n";
    }
    out << "Styles: " << file.Stylesheet.Styles.size() << "\n";
}

}  // namespace

std::string DumpWordDocument(std::vector<uint8_t> fileBytes, std::string_view password) {
    std::ostringstream out;
    Result<TCompoundFile> root = TCompoundFile::Open(std::move(fileBytes));
    if (!root) return "Not a readable compound file: " + root.Error().Message + "\n";
    out << "Streams:\n";
    for (const std::string& name : root->StreamNames()) {
        Result<TCfbStream> stream = root->OpenStream(name);
        out << "  " << name << " " << (stream ? stream->Size() : 0) << " bytes\n";
    }
    Result<TCfbStream> main = root->OpenStream("WordDocument");
    if (!main) return out.str() + "No WordDocument stream\n";
    Result<TWordFile> file = ReadWord97File(*root, password);
    if (!file) {
        // The header as stored, when it can be read at all; an encrypted document's cannot.
        Result<TFib> fib = ReadFib(main->Bytes());
        if (!fib) return out.str() + "FIB: " + file.Error().Message + "\n";
        DumpFib(out, *fib);
        return out.str() + file.Error().Message + "\n";
    }
    DumpFib(out, file->Fib);
    if (file->Encryption) DumpEncryption(out, *file->Encryption);
    DumpTables(out, *file);
    return out.str();
}

}  // namespace qm
