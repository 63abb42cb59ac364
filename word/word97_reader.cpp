// The Word 97 version reader: the FIB at the start of the main stream says where the tables lie
// in the table stream it names; all of them are read here, before any text.
#include "word/fib_word6.h"
#include "word/font_table.h"
#include "word/word_file.h"

namespace qm {

namespace {

void ReadTables(TWordFile& file) {
    const TFib& fib = file.Fib;
    const auto table = file.Table.Bytes();
    const auto main = file.Main.Bytes();
    file.Fonts = ReadFontTable(table, fib.FcSttbfffn);
    file.ChpxBins = TBinTable::Read(table, fib.FcPlcfbteChpx, fib.LcbPlcfbteChpx, main);
    file.PapxBins = TBinTable::Read(table, fib.FcPlcfbtePapx, fib.LcbPlcfbtePapx, main);
    file.Sections = TSectionTable::Read(table, fib.FcPlcfsed, fib.LcbPlcfsed);
    file.HeaderStories =
        ReadPlc<char>(table, fib.FcPlcfhdd, fib.LcbPlcfhdd, 0, [](ByteReader&, char&) {});
    file.Stylesheet = ReadStylesheet(table, fib.FcStshf);
    file.Pieces = TPieceTable::Read(table, fib.FcClx, fib.LcbClx);
    file.Dop = ReadDop(table, fib.FcDop);
    file.Stories = TStoryTable(fib, table);
    file.Lists = ReadListTables(table, fib.FcPlfLst, fib.LcbPlfLst, fib.FcPlfLfo, fib.LcbPlfLfo);
    file.Bookmarks = ReadBookmarks(table, fib);
}

// Replaces the stored streams with those decrypted with the password.
Result<bool> Decrypt(const TCompoundFile& root, std::string_view password, TWordFile& file) {
    Result<TDecryptedWord> clear = DecryptWordDocument(root, file.Main.Bytes(), password);
    if (!clear) return clear.Error();
    file.Main = std::move(clear->Main);
    file.Table = std::move(clear->Table);
    file.Data = std::move(clear->Data);
    file.HasData = clear->HasData;
    file.Encryption = std::move(clear->Encryption);
    return true;
}

// Opens the "Data" and the table stream of an unencrypted document.
Result<bool> OpenTableAndData(const TCompoundFile& root, TWordFile& file) {
    if (Result<TCfbStream> data = root.OpenStream("Data")) {
        file.Data = std::move(*data);
        file.HasData = true;
    }
    Result<TCfbStream> table = root.OpenStream(file.Fib.WhichTblStm() ? "1Table" : "0Table");
    if (!table) return MakeError(TErrorKind::Damaged, kMsgNoTableStream);
    file.Table = std::move(*table);
    return true;
}

}  // namespace

Result<TWordFile> ReadWord97File(const TCompoundFile& root, std::string_view password) {
    TWordFile file;
    Result<TCfbStream> main = root.OpenStream("WordDocument");
    if (!main) return MakeError(TErrorKind::NotWordDocument, kMsgNotWordDocument);
    if (IsWord6Fib(main->Bytes())) return ReadWord6File(std::move(*main));
    file.Main = std::move(*main);
    if (IsEncryptedWord97(file.Main.Bytes())) {
        if (Result<bool> decrypted = Decrypt(root, password, file); !decrypted)
            return decrypted.Error();
    }
    Result<TFib> fib = ReadFib(file.Main.Bytes());
    if (!fib) return fib.Error();
    file.Fib = *fib;
    if (!file.Encryption) {
        if (Result<bool> opened = OpenTableAndData(root, file); !opened) return opened.Error();
    }
    ReadTables(file);
    return file;
}

}  // namespace qm
