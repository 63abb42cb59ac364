// The compound file reader against files from the test writer, the stream's seek and read
// contract, reading from disk, and the shared corpus.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cfb/compound_file.h"
#include "tests/cfb/cfb_fixtures.h"

namespace qm {
namespace {

using namespace cfbtest;

void ExpectRoundTrip(const TStreams& streams, const TCfbWriteOptions& options = {}) {
    Result<TCompoundFile> cf = TCompoundFile::Open(WriteCompoundFile(streams, options));
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(cf->StreamNames().size(), streams.size());
    for (const auto& [name, bytes] : streams) {
        Result<TCfbStream> stream = cf->OpenStream(name);
        ASSERT_TRUE(stream.Ok()) << name << ": " << stream.Error().Message;
        ASSERT_EQ(stream->Size(), bytes.size()) << name;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), stream->Bytes().begin())) << name;
    }
}

TStreams SizesAroundTheLimits() {
    TStreams streams;
    const size_t sizes[] = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 70000};
    uint32_t seed = 1;
    for (size_t size : sizes) {
        streams.emplace_back(NumberedName("S", size), Pattern(size, seed++));
    }
    return streams;
}

TEST(CompoundFileRoundTrip, MiniAndRegularStreamsOnBothSidesOfTheCutoff) {
    ExpectRoundTrip(SizesAroundTheLimits());
}

TEST(CompoundFileRoundTrip, Version4FilesWith4096ByteSectors) {
    const std::vector<uint8_t> file =
        WriteCompoundFile(SizesAroundTheLimits(), TCfbWriteOptions{.MajorVersion = 4});
    EXPECT_EQ(file[0x1A], 4);
    EXPECT_EQ(file.size() % 4096, 0u);
    ExpectRoundTrip(SizesAroundTheLimits(), TCfbWriteOptions{.MajorVersion = 4});
}

TEST(CompoundFileRoundTrip, NoStreamsAtAll) {
    Result<TCompoundFile> cf = TCompoundFile::Open(WriteCompoundFile({}));
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_TRUE(cf->StreamNames().empty());
    EXPECT_EQ(cf->OpenStream("WordDocument").Error().Kind, TErrorKind::NotWordDocument);
}

TEST(CompoundFileRoundTrip, ManyStreamsFillSeveralDirectorySectors) {
    TStreams streams;
    for (uint32_t i = 0; i < 600; ++i) {
        streams.emplace_back(NumberedName("Stream", i), Pattern((i * 977) % 9000, i));
    }
    ExpectRoundTrip(streams);
}

TEST(CompoundFileRoundTrip, StreamLargerThan109FatSectorsCoverUsesDifatSectors) {
    const TStreams streams = {{"Big", Pattern(8u << 20, 7)}, {"Small", Pattern(300, 8)}};
    const std::vector<uint8_t> file = WriteCompoundFile(streams);
    EXPECT_GT(GetU32(file, kFatSectorCountAt), 109u);
    EXPECT_GE(GetU32(file, kNumDifatAt), 1u);
    ExpectRoundTrip(streams);
}

TEST(CompoundFileNames, ListedInTheFormatsSiblingOrder) {
    const TStreams streams = {{"WordDocument", {}},
                              {"\x05SummaryInformation", {}},
                              {"1Table", {}},
                              {"Data", {}},
                              {"ObjectPool", {}}};
    Result<TCompoundFile> cf = TCompoundFile::Open(WriteCompoundFile(streams));
    ASSERT_TRUE(cf.Ok());
    const std::vector<std::string> expected = {"Data", "1Table", "ObjectPool", "WordDocument",
                                               "\x05SummaryInformation"};
    EXPECT_EQ(cf->StreamNames(), expected);
}

TEST(CompoundFileNames, LookupIgnoresAsciiCase) {
    const TStreams streams = {{"WordDocument", Pattern(10, 1)}, {"1Table", Pattern(20, 2)}};
    Result<TCompoundFile> cf = TCompoundFile::Open(WriteCompoundFile(streams));
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(StreamBytes(*cf, "worddocument"), streams[0].second);
    EXPECT_EQ(StreamBytes(*cf, "WORDDOCUMENT"), streams[0].second);
    EXPECT_EQ(StreamBytes(*cf, "1table"), streams[1].second);
    EXPECT_EQ(cf->OpenStream("0Table").Error().Kind, TErrorKind::NotWordDocument);
    EXPECT_EQ(cf->OpenStream("WordDocument ").Error().Kind, TErrorKind::NotWordDocument);
    EXPECT_EQ(cf->OpenStream("").Error().Kind, TErrorKind::NotWordDocument);
}

TEST(CompoundFileNames, NonAsciiNamesComeBackAsUtf8) {
    const std::string latin =
        "\xC3\x9C"
        "bersicht";                                     // "Übersicht"
    const std::string astral = "Note\xF0\x9F\x93\x9D";  // "Note" + U+1F4DD
    const TStreams streams = {{latin, Pattern(5, 1)}, {astral, Pattern(6, 2)}};
    Result<TCompoundFile> cf = TCompoundFile::Open(WriteCompoundFile(streams));
    ASSERT_TRUE(cf.Ok());
    const std::vector<std::string> names = cf->StreamNames();
    EXPECT_NE(std::find(names.begin(), names.end(), latin), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), astral), names.end());
    EXPECT_EQ(StreamBytes(*cf, astral), streams[1].second);
}

TEST(CompoundFileStream, SeekIsAbsoluteAndStopsAtTheEnd) {
    TCfbStream stream(Pattern(100, 3));
    EXPECT_EQ(stream.Seek(40), kCfbOk);
    EXPECT_EQ(stream.Pos(), 40u);
    EXPECT_EQ(stream.Seek(100), kCfbOk);  // the end itself is a position
    EXPECT_EQ(stream.Seek(101), kCfbSeekFault);
    EXPECT_EQ(stream.Pos(), 100u);  // unchanged by the failed seek
    EXPECT_EQ(stream.Seek(UINT64_MAX), kCfbSeekFault);
    EXPECT_EQ(stream.Seek(0), kCfbOk);
}

TEST(CompoundFileStream, ReadCopiesAndAdvances) {
    const std::vector<uint8_t> bytes = Pattern(100, 4);
    TCfbStream stream(bytes);
    uint8_t buffer[10] = {};
    ASSERT_EQ(stream.Seek(90), kCfbOk);
    EXPECT_EQ(stream.Read(buffer, 4), kCfbOk);
    EXPECT_EQ(stream.Pos(), 94u);
    EXPECT_TRUE(std::equal(buffer, buffer + 4, bytes.begin() + 90));
    EXPECT_EQ(stream.Read(nullptr, 0), kCfbOk);
}

TEST(CompoundFileStream, ShortReadKeepsWhatIsThereZeroFillsTheRestAndFails) {
    const std::vector<uint8_t> bytes = Pattern(100, 5);
    TCfbStream stream(bytes);
    uint8_t buffer[10];
    std::fill(std::begin(buffer), std::end(buffer), 0xAA);
    ASSERT_EQ(stream.Seek(97), kCfbOk);
    EXPECT_EQ(stream.Read(buffer, 10), kCfbReadFault);
    EXPECT_TRUE(std::equal(buffer, buffer + 3, bytes.begin() + 97));
    EXPECT_TRUE(std::all_of(buffer + 3, buffer + 10, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(stream.Pos(), 100u);
    std::fill(std::begin(buffer), std::end(buffer), 0xAA);
    EXPECT_EQ(stream.Read(buffer, 1), kCfbReadFault);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(stream.Read(buffer, 0), kCfbOk);
}

class CompoundFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / NumberedName("qm_cfb_test_", ::getpid());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(CompoundFileOnDisk, OpensAFileReadWhole) {
    const TStreams streams = {{"WordDocument", Pattern(5000, 1)}};
    const std::filesystem::path path = dir_ / "a.doc";
    {
        const std::vector<uint8_t> file = WriteCompoundFile(streams);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    }
    Result<TCompoundFile> cf = TCompoundFile::OpenFile(path.string());
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(StreamBytes(*cf, "WordDocument"), streams[0].second);
}

TEST_F(CompoundFileOnDisk, MissingFileAndFolderAreIoErrors) {
    EXPECT_EQ(TCompoundFile::OpenFile((dir_ / "none.doc").string()).Error().Kind, TErrorKind::Io);
    EXPECT_EQ(TCompoundFile::OpenFile(dir_.string()).Error().Kind, TErrorKind::Io);
}

TEST_F(CompoundFileOnDisk, FileAboveTheLimitIsRefusedBeforeReading) {
    const std::filesystem::path path = dir_ / "huge.doc";
    { std::ofstream touch(path, std::ios::binary); }
    std::filesystem::resize_file(path, kMaxCompoundFileBytes + 1);  // sparse: costs no disk
    EXPECT_EQ(TCompoundFile::OpenFile(path.string()).Error().Kind, TErrorKind::LimitExceeded);
}

TEST(CompoundFileCorpus, EveryFileOpensOrFailsCleanly) {
    const std::filesystem::path corpus = std::string(QM_SHARED_DIR) + "/corpus";
    if (!std::filesystem::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    int opened = 0, withWordDocument = 0, files = 0;
    for (const auto& item : std::filesystem::directory_iterator(corpus)) {
        if (!item.is_regular_file()) continue;
        ++files;
        Result<TCompoundFile> cf = TCompoundFile::OpenFile(item.path().string());
        if (!cf) {
            EXPECT_NE(cf.Error().Kind, TErrorKind::Io) << item.path();
            EXPECT_FALSE(cf.Error().Message.empty());
            continue;
        }
        ++opened;
        for (const std::string& name : cf->StreamNames()) {
            Result<TCfbStream> stream = cf->OpenStream(name);
            if (stream) {
                EXPECT_LE(stream->Size(), item.file_size()) << item.path() << " " << name;
            }
        }
        if (cf->OpenStream("WordDocument").Ok()) ++withWordDocument;
    }
    // Some files are malformed on purpose; most are Word documents.
    EXPECT_GT(opened, files * 8 / 10);
    EXPECT_GT(withWordDocument, opened * 9 / 10);
}

}  // namespace
}  // namespace qm
