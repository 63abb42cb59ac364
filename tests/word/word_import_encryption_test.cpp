// Password-protected documents: both RC4 encryptions, written by the builder with Nettle, are
// decrypted in memory and read like the same document unprotected; a missing or wrong password,
// XOR obfuscation and damaged or foreign encryption headers are refused with their messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "builder/picture_builder.h"
#include "raster/dib.h"
#include "word/word_dump.h"
#include "word/word_file.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

constexpr uint32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr uint32_t kBlue = 0xFF0000;

TPasswordProtection Protection(TWordCipher cipher, uint32_t keyBits, std::string password) {
    TPasswordProtection p;
    p.Cipher = cipher;
    p.KeyBits = keyBits;
    p.Password = std::move(password);
    return p;
}

// Text, a paragraph format and a picture, each past the first 512-byte block of its stream: the
// text starts at 1024 and runs over two block boundaries, the picture follows 700 bytes of
// filler in "Data", and the table stream is longer than a block.
TWordBuilder Report(const TPasswordProtection& protection) {
    TWordBuilder b;
    b.Options().Protection = protection;
    std::u16string line;
    for (int i = 0; i < 20; ++i)
        line += u"The quarterly figures are in. ";
    b.Para(line).Para(u"Centred total", sprm::Justify(1));
    std::vector<uint32_t> rgb;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            rgb.push_back(x < 8 ? 0xFF0000 : 0x0000FF);
    TStoredPicture picture;
    picture.Bytes = MakePng(16, 8, rgb);
    b.AddData(std::vector<uint8_t>(700, 0x55));
    b.Picture(StorePicture(picture)).Paragraph();
    return b;
}

TImportResult ImportWith(TDocument& doc, const TWordBuilder& b, std::string_view password,
                         TMessageSink* messages = nullptr) {
    EnsureHeaderFooterFields(doc);
    return ImportWordBytes(doc, b.Build(), nullptr, messages, TImportOptions{false, password});
}

TEST(WordImportEncryption, BothCiphersAndTheirKeySizesReadLikeTheUnprotectedDocument) {
    TDocument plain;
    ASSERT_TRUE(Import(plain, Report({})).Converted);
    const std::string text = FieldText(plain, 0);
    ASSERT_GT(text.size(), 512u);
    struct TCase {
        const char* Name;
        TPasswordProtection Protection;
    };
    const TCase cases[] = {
        {"RC4, MD5", Protection(TWordCipher::Rc4, 128, "Geheim")},
        {"CryptoAPI 40-bit", Protection(TWordCipher::CryptoApi, 40, "password")},
        {"CryptoAPI key size 0 (40-bit)", Protection(TWordCipher::CryptoApi, 0, "password")},
        {"CryptoAPI 56-bit", Protection(TWordCipher::CryptoApi, 56, "x")},
        {"CryptoAPI 128-bit", Protection(TWordCipher::CryptoApi, 128, "correct horse")},
        {"password beyond ASCII", Protection(TWordCipher::CryptoApi, 128, "pässwörd 東京")},
        {"RC4 password beyond ASCII", Protection(TWordCipher::Rc4, 128, "Kennwort€")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TWordBuilder b = Report(c.Protection);
        TDocument doc;
        const TImportResult result = ImportWith(doc, b, c.Protection.Password);
        ASSERT_TRUE(result.Converted) << result.Message;
        EXPECT_EQ(FieldText(doc, 0), text);
        EXPECT_EQ(doc.Fields[0].Lines[1].Para.Align, 1);
        ASSERT_EQ(doc.BildCount(), 1);
        EXPECT_EQ(getpixel(doc.BilderListe[0], 0, 0), kRed);
        EXPECT_EQ(getpixel(doc.BilderListe[0], 15, 7), kBlue);
        // The text is not in the file as it is.
        const std::vector<uint8_t> file = b.Build();
        const std::string needle = "quarterly figures";
        EXPECT_EQ(std::search(file.begin(), file.end(), needle.begin(), needle.end()), file.end());
    }
}

TEST(WordImportEncryption, MissingWrongAndForeignProtectionIsRefusedAndLeavesTheModelAlone) {
    const TPasswordProtection rc4 = Protection(TWordCipher::Rc4, 128, "tika");
    const TPasswordProtection api = Protection(TWordCipher::CryptoApi, 40, "tika");
    TPasswordProtection xorFlag;
    xorFlag.XorObfuscated = true;
    struct TCase {
        const char* Name;
        TPasswordProtection Protection;
        std::string Password;
        TErrorKind Kind;
        const char* Message;
    };
    const TCase cases[] = {
        {"RC4, no password", rc4, "", TErrorKind::Encrypted,
         "This document is password protected."},
        {"RC4, wrong password", rc4, "Tika", TErrorKind::WrongPassword,
         "The password is not correct."},
        {"CryptoAPI, no password", api, "", TErrorKind::Encrypted,
         "This document is password protected."},
        {"CryptoAPI, wrong password", api, "tika ", TErrorKind::WrongPassword,
         "The password is not correct."},
        {"XOR obfuscation", xorFlag, "tika", TErrorKind::Unsupported,
         "This document is protected by XOR obfuscation, which is not supported."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDocument doc;
        ASSERT_TRUE(Import(doc, TWordBuilder().Para(u"Before")).Converted);
        TRecordingMessages messages;
        const TImportResult result = ImportWith(doc, Report(c.Protection), c.Password, &messages);
        EXPECT_FALSE(result.Converted);
        EXPECT_EQ(result.Kind, c.Kind);
        EXPECT_EQ(result.Message, c.Message);
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].first, c.Message);
        EXPECT_EQ(FieldText(doc, 0), "Before\n");
    }
}

TEST(WordImportEncryption, DamagedAndForeignEncryptionHeadersAreRefused) {
    const TWordBuilder b = Report(Protection(TWordCipher::CryptoApi, 128, "pw"));
    struct TCase {
        const char* Name;
        void (*Damage)(TWordStreams&);
        TErrorKind Kind;
        const char* Message;
    };
    const TCase cases[] = {
        {"lKey past the table stream",
         [](TWordStreams& s) { PutU32(s.WordDocument, 0x0E, s.Table.size() + 1); },
         TErrorKind::Damaged, "The document's encryption header is damaged."},
        {"header cut short", [](TWordStreams& s) { PutU32(s.WordDocument, 0x0E, 40); },
         TErrorKind::Damaged, "The document's encryption header is damaged."},
        {"standard encryption version 3.3", [](TWordStreams& s) { PutU16(s.Table, 2, 3); },
         TErrorKind::Unsupported, "This document's kind of encryption is not supported."},
        {"AES named as the cipher", [](TWordStreams& s) { PutU32(s.Table, 12 + 8, 0x660E); },
         TErrorKind::Unsupported, "This document's kind of encryption is not supported."},
        {"key of 136 bits", [](TWordStreams& s) { PutU32(s.Table, 12 + 16, 136); },
         TErrorKind::Unsupported, "This document's kind of encryption is not supported."},
        {"no table stream", [](TWordStreams& s) { s.TableName = "2Table"; }, TErrorKind::Damaged,
         "The document's table stream is missing."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TWordStreams streams = b.BuildStreams();
        c.Damage(streams);
        TDocument doc;
        EnsureHeaderFooterFields(doc);
        const TImportResult result = ImportWordBytes(doc, WriteCompoundFile(streams.RootStreams()),
                                                     nullptr, nullptr, TImportOptions{false, "pw"});
        EXPECT_FALSE(result.Converted);
        EXPECT_EQ(result.Kind, c.Kind);
        EXPECT_EQ(result.Message, c.Message);
    }
}

TEST(WordImportEncryption, TheEncryptedSummaryStreamIsDecryptedStreamByStream) {
    TPasswordProtection p = Protection(TWordCipher::CryptoApi, 128, "summary");
    const std::vector<uint8_t> summary(600, 0xA1);  // longer than a block: one run of the cipher
    const std::vector<uint8_t> document = {1, 2, 3, 4, 5, 6, 7};
    p.SummaryStreams = {{"\x05SummaryInformation", summary},
                        {"\x05"
                         "DocumentSummaryInformation",
                         document}};
    const TWordBuilder b = Report(p);
    Result<TCompoundFile> root = TCompoundFile::Open(b.Build());
    ASSERT_TRUE(root);
    Result<TWordFile> file = ReadWord97File(*root, "summary");
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Encryption);
    EXPECT_EQ(file->Encryption->Method, TRc4Method::CryptoApi);
    EXPECT_EQ(file->Encryption->KeyBits, 128u);
    EXPECT_FALSE(file->Encryption->SummaryDamaged);
    ASSERT_EQ(file->Encryption->Summary.size(), 2u);
    EXPECT_EQ(file->Encryption->Summary[0].Name, "\x05SummaryInformation");
    EXPECT_EQ(file->Encryption->Summary[0].Bytes, summary);
    EXPECT_EQ(file->Encryption->Summary[1].Bytes, document);
    const std::string dump = DumpWordDocument(b.Build(), "summary");
    EXPECT_NE(dump.find("Encryption: RC4 CryptoAPI (SHA-1), 128-bit key"), std::string::npos);
    EXPECT_NE(dump.find("encrypted summary: \x05SummaryInformation 600 bytes"), std::string::npos)
        << dump;
    // A summary stream whose descriptors point outside it is told in the dump; the document
    // itself still reads.
    TWordStreams streams = b.BuildStreams();
    for (auto& [name, bytes] : streams.Extra)
        if (name == "encryption") PutU32(bytes, 0, bytes.size() + 1);
    Result<TCompoundFile> damaged = TCompoundFile::Open(WriteCompoundFile(streams.RootStreams()));
    Result<TWordFile> read = ReadWord97File(*damaged, "summary");
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->Encryption->SummaryDamaged);
}

TEST(WordImportEncryption, ThePasswordCheckTellsWhatOpeningWouldMeet) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "qm-password";
    std::filesystem::create_directories(dir);
    auto write = [&](const char* name, const TWordBuilder& b) {
        const std::string path = (dir / name).string();
        const std::vector<uint8_t> bytes = b.Build();
        FILE* out = fopen(path.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), out);
        fclose(out);
        return path;
    };
    const std::string locked = write("locked.doc", Report(Protection(TWordCipher::Rc4, 128, "a")));
    const std::string open = write("open.doc", Report({}));
    EXPECT_EQ(CheckWordPassword(locked, ""), TPasswordCheck::Missing);
    EXPECT_EQ(CheckWordPassword(locked, "b"), TPasswordCheck::Wrong);
    EXPECT_EQ(CheckWordPassword(locked, "a"), TPasswordCheck::Opens);
    EXPECT_EQ(CheckWordPassword(open, ""), TPasswordCheck::NotAsked);
    EXPECT_EQ(CheckWordPassword((dir / "absent.doc").string(), "a"), TPasswordCheck::NotAsked);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qm::testing
