// Every document of the shared corpus either imports or is refused with a message; none
// crashes, hangs or trips a sanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "word/word_dump.h"
#include "word/word_import.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

std::vector<std::filesystem::path> CorpusFiles() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path dir = std::filesystem::path(QM_SHARED_DIR) / "corpus";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (entry.is_regular_file() && ext == ".doc") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(WordImportCorpus, EveryFileImportsOrIsRefusedWithAMessage) {
    const auto files = CorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << QM_SHARED_DIR << "/corpus";
    int converted = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        TDocument doc;
        EnsureHeaderFooterFields(doc);
        TRecordingMessages messages;
        TRecordingProgress progress;
        const auto start = std::chrono::steady_clock::now();
        const TImportResult result = ImportWordFile(doc, path.string(), &progress, &messages);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        // With the layout included; a hang would show here long before the test times out. The
        // long documents (a Word 95 one of 90 pages reads half a million characters) get a
        // second more for every 200,000 characters.
        EXPECT_LT(took.count(), 2.0 + static_cast<double>(result.CharactersRead) / 200000.0);
        if (result.Converted) {
            ++converted;
        } else {
            EXPECT_FALSE(result.Message.empty());
        }
        EXPECT_EQ(doc.CurField, 0);
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
        EXPECT_FALSE(DumpWordDocument(bytes).empty());
        for (int percent : progress.Values) {
            EXPECT_GE(percent, 0);
            EXPECT_LE(percent, 100);
        }
    }
    // Most of the corpus is ordinary Word 97 to 2003 documents.
    EXPECT_GT(converted, static_cast<int>(files.size()) / 2);
}

TEST(WordImportCorpus, RefusesTheEncryptedAndWord2Documents) {
    const std::filesystem::path dir = std::filesystem::path(QM_SHARED_DIR) / "corpus";
    if (!std::filesystem::exists(dir / "PasswordProtected.doc")) GTEST_SKIP() << "no corpus";
    struct TCase {
        const char* Name;
        const char* Password;
        const char* Message;
    };
    const TCase cases[] = {
        {"PasswordProtected.doc", "", "This document is password protected."},
        {"PasswordProtected.doc", "password", "The password is not correct."},
        {"password_tika_binaryrc4.doc", "", "This document is password protected."},
        {"password_tika_binaryrc4.doc", "Tika", "The password is not correct."},
        {"password_password_cryptoapi.doc", "", "This document is password protected."},
        {"word2.doc", "", "Word 2 documents are not supported."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " with \"" + c.Password + "\"");
        TDocument doc;
        TImportOptions options;
        options.Password = c.Password;
        const TImportResult result =
            ImportWordFile(doc, (dir / c.Name).string(), nullptr, nullptr, options);
        EXPECT_FALSE(result.Converted);
        EXPECT_EQ(result.Message, c.Message);
    }
}

// The two documents whose passwords are known: one with the MD5 RC4 encryption, one with RC4
// CryptoAPI (128-bit key).
TEST(WordImportCorpus, ReadsTheEncryptedDocumentsWithTheirPasswords) {
    const std::filesystem::path dir = std::filesystem::path(QM_SHARED_DIR) / "corpus";
    if (!std::filesystem::exists(dir / "password_tika_binaryrc4.doc")) GTEST_SKIP() << "no corpus";
    struct TCase {
        const char* Name;
        const char* Password;
        std::string Text;
    };
    const TCase cases[] = {
        {"password_tika_binaryrc4.doc", "tika", "This is an encrypted Word 2007 File.\n"},
        {"password_password_cryptoapi.doc", "password", "This is a test\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDocument doc;
        EnsureHeaderFooterFields(doc);
        TImportOptions options;
        options.Password = c.Password;
        const TImportResult result =
            ImportWordFile(doc, (dir / c.Name).string(), nullptr, nullptr, options);
        ASSERT_TRUE(result.Converted) << result.Message;
        EXPECT_EQ(FieldText(doc, 0).substr(0, c.Text.size()), c.Text);
    }
}

TEST(WordImportCorpus, WordSixAndNinetyFiveDocumentsConvert) {
    const std::filesystem::path dir = std::filesystem::path(QM_SHARED_DIR) / "corpus";
    if (!std::filesystem::exists(dir / "Word6.doc")) GTEST_SKIP() << "no corpus";
    // Word 6, Word 95, a Macintosh one, a Russian one and an East Asian build's.
    for (const char* name :
         {"Word6.doc", "Word95.doc", "TestInvertedClassID.doc", "Bug49933.doc", "Bug51944.doc"}) {
        SCOPED_TRACE(name);
        TDocument doc;
        EnsureHeaderFooterFields(doc);
        const TImportResult result = ImportWordFile(doc, (dir / name).string(), nullptr, nullptr);
        EXPECT_TRUE(result.Converted);
        EXPECT_GT(result.CharactersRead, 0);
    }
}

// A document saved fast: a table of contents whose page numbers (PAGEREF results) lie in pieces
// stored among other paragraphs' properties. Each entry keeps the properties of its paragraph
// mark: the "toc 1" style with its right tab and dot leader.
TEST(WordImportCorpus, AParagraphKeepsThePropertiesOfItsMarkAcrossPieces) {
    const std::filesystem::path file =
        std::filesystem::path(QM_SHARED_DIR) / "corpus" / "o_kurs.doc";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no corpus";
    TDocument doc;
    ASSERT_TRUE(ImportWordFile(doc, file.string(), nullptr, nullptr).Converted);
    int entries = 0;
    for (const TFieldRec& field : doc.Fields) {
        for (const TLineRec& line : field.Lines) {
            const bool tabbed = std::any_of(line.Chars.begin(), line.Chars.end(),
                                            [](const TCharRec& ch) { return ch.Code == 9; });
            if (!tabbed || line.Chars.empty() || line.Chars[0].Code < '1' ||
                line.Chars[0].Code > '5' || line.Chars.size() > 80)
                continue;
            ++entries;
            ASSERT_EQ(line.Para.Tabs.size(), 1u);
            EXPECT_EQ(line.Para.Tabs[0].Align, 2);   // right
            EXPECT_EQ(line.Para.Tabs[0].Leader, 2);  // dots
        }
    }
    EXPECT_GE(entries, 4);
}

}  // namespace
}  // namespace qm::testing
