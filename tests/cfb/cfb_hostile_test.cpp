// The compound file reader against broken and hostile files: every case ends with a clean
// error or a clamped result, never a loop, a crash or a read outside the file.
#include <gtest/gtest.h>

#include <random>

#include "cfb/compound_file.h"
#include "tests/cfb/cfb_fixtures.h"

namespace qm {
namespace {

using namespace cfbtest;

TStreams WordLikeStreams() {
    return {{"WordDocument", Pattern(9000, 1)},
            {"1Table", Pattern(2500, 2)},
            {"Data", Pattern(5000, 3)},
            {"Small", Pattern(200, 4)}};
}

TErrorKind OpenKind(const std::vector<uint8_t>& file) {
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    EXPECT_FALSE(cf.Ok());
    return cf.Ok() ? TErrorKind::Io : cf.Error().Kind;
}

// Opens every stream and reads every byte through the stream interface.
void ReadEverything(const TCompoundFile& cf) {
    for (const std::string& name : cf.StreamNames()) {
        Result<TCfbStream> stream = cf.OpenStream(name);
        if (!stream) continue;
        std::vector<uint8_t> buffer(stream->Size() + 1);
        stream->Read(buffer.data(), buffer.size());
    }
}

TEST(CompoundFileNotCfb, EmptyTextAndWrongSignatureAreNotWordDocuments) {
    EXPECT_EQ(OpenKind({}), TErrorKind::NotWordDocument);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "This is a plain text file named .doc\r\n";
    EXPECT_EQ(OpenKind(std::vector<uint8_t>(text.begin(), text.end())),
              TErrorKind::NotWordDocument);
    std::vector<uint8_t> file = WriteCompoundFile(WordLikeStreams());
    file[7] ^= 0xFF;
    EXPECT_EQ(OpenKind(file), TErrorKind::NotWordDocument);
}

TEST(CompoundFileNotCfb, ShorterThanAHeaderIsNotAWordDocument) {
    const std::vector<uint8_t> file = WriteCompoundFile(WordLikeStreams());
    EXPECT_EQ(OpenKind({file.begin(), file.begin() + 8}), TErrorKind::NotWordDocument);
    EXPECT_EQ(OpenKind({file.begin(), file.begin() + 511}), TErrorKind::NotWordDocument);
    EXPECT_EQ(OpenKind({file.begin(), file.begin() + 512}), TErrorKind::Damaged);
}

TEST(CompoundFileHeader, FieldsOutsideTheFormatAreDamage) {
    const std::vector<uint8_t> good = WriteCompoundFile(WordLikeStreams());
    auto patched = [&](size_t pos, uint32_t value, int width) {
        std::vector<uint8_t> file = good;
        for (int i = 0; i < width; ++i)
            file[pos + i] = static_cast<uint8_t>(value >> (8 * i));
        return file;
    };
    EXPECT_EQ(OpenKind(patched(0x1A, 5, 2)), TErrorKind::Damaged);       // major version
    EXPECT_EQ(OpenKind(patched(0x1C, 0xFEFF, 2)), TErrorKind::Damaged);  // byte order
    EXPECT_EQ(OpenKind(patched(0x1E, 12, 2)), TErrorKind::Damaged);      // v3 with 4096 sectors
    EXPECT_EQ(OpenKind(patched(0x1E, 31, 2)), TErrorKind::Damaged);
    EXPECT_EQ(OpenKind(patched(0x20, 7, 2)), TErrorKind::Damaged);     // mini sector size
    EXPECT_EQ(OpenKind(patched(0x38, 8192, 4)), TErrorKind::Damaged);  // mini stream cutoff
}

TEST(CompoundFileHeader, AbsurdFatSectorCountsAreDamage) {
    std::vector<uint8_t> file = WriteCompoundFile(WordLikeStreams());
    SetU32(file, kFatSectorCountAt, 0xFFFFFFFF);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    SetU32(file, kFatSectorCountAt, 0);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
}

TEST(CompoundFileHeader, CountsTheReaderDoesNotNeedAreIgnored) {
    const TStreams streams = WordLikeStreams();
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    SetU32(file, kNumMiniFatAt, 0xFFFFFFFF);
    SetU32(file, kNumDifatAt, 0xFFFFFFFF);
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(StreamBytes(*cf, "Small"), streams[3].second);
    EXPECT_EQ(StreamBytes(*cf, "WordDocument"), streams[0].second);
}

TEST(CompoundFileChains, FatCycleFailsThatStreamOnly) {
    const TStreams streams = WordLikeStreams();
    const std::vector<uint8_t> good = WriteCompoundFile(streams);
    const uint32_t id = EntryId(good, "WordDocument");
    const uint32_t first = GetU32(good, StartAt(good, id));  // 18 sectors in a row
    std::vector<uint8_t> file = good;
    SetU32(file, FatEntryOffset(file, first + 10), first + 3);
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(cf->OpenStream("WordDocument").Error().Kind, TErrorKind::Damaged);
    EXPECT_EQ(StreamBytes(*cf, "Data"), streams[2].second);

    SetU32(file, FatEntryOffset(file, first), first);  // a sector that follows itself
    cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(cf->OpenStream("WordDocument").Error().Kind, TErrorKind::Damaged);
}

TEST(CompoundFileChains, LoopPastTheSectorsTheSizeNeedsIsNeverFollowed) {
    const TStreams streams = WordLikeStreams();
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    const uint32_t first = GetU32(file, StartAt(file, EntryId(file, "WordDocument")));
    SetU32(file, FatEntryOffset(file, first + 17), first);  // the last sector links back
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(StreamBytes(*cf, "WordDocument"), streams[0].second);
}

TEST(CompoundFileChains, MiniFatCycleFailsThatStream) {
    std::vector<uint8_t> file = WriteCompoundFile(WordLikeStreams());
    const uint32_t id = EntryId(file, "Small");
    const uint32_t first = GetU32(file, StartAt(file, id));  // 4 mini sectors in a row
    SetU32(file, MiniFatEntryOffset(file, first + 2), first + 1);
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(cf->OpenStream("Small").Error().Kind, TErrorKind::Damaged);
}

TEST(CompoundFileChains, DirectoryChainCycleIsDamage) {
    TStreams streams;
    for (int i = 0; i < 9; ++i)
        streams.emplace_back(NumberedName("S", i), Pattern(10, i));
    std::vector<uint8_t> file = WriteCompoundFile(streams);  // 10 entries: 3 sectors
    const uint32_t firstDir = GetU32(file, kFirstDirAt);
    SetU32(file, FatEntryOffset(file, firstDir + 2), firstDir);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
}

TEST(CompoundFileChains, DifatCycleIsDamage) {
    // 300 sectors, so that the header may claim 240 FAT sectors: 109 in the header and 131 to
    // come from DIFAT sectors, more than one DIFAT sector holds.
    const TStreams streams = {{"Big", Pattern(300 * 512, 1)}};
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    SetU32(file, kFatSectorCountAt, 240);
    for (uint32_t i = 1; i < 109; ++i)
        SetU32(file, kHeaderDifatAt + 4 * i, 0);
    const uint32_t difat = GetU32(file, StartAt(file, EntryId(file, "Big"))) + 5;
    for (uint32_t i = 0; i < 127; ++i)
        SetU32(file, SectorOffset(difat) + 4 * i, 0);
    SetU32(file, SectorOffset(difat) + 4 * 127, difat);  // links to itself
    SetU32(file, kFirstDifatAt, difat);
    SetU32(file, kNumDifatAt, 2);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
}

TEST(CompoundFileChains, SectorNumbersPastTheEndCutChainsShort) {
    const TStreams streams = WordLikeStreams();
    const std::vector<uint8_t> good = WriteCompoundFile(streams);
    const uint32_t id = EntryId(good, "WordDocument");
    const uint32_t first = GetU32(good, StartAt(good, id));

    std::vector<uint8_t> file = good;
    SetU32(file, FatEntryOffset(file, first + 2), 0x00FFFFFF);  // third link leaves the file
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    const std::vector<uint8_t> cut = StreamBytes(*cf, "WordDocument");
    ASSERT_EQ(cut.size(), 3 * kSector);
    EXPECT_TRUE(std::equal(cut.begin(), cut.end(), streams[0].second.begin()));

    file = good;
    SetU32(file, StartAt(file, id), 0xFFFFFF00);
    cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(cf->OpenStream("WordDocument")->Size(), 0u);

    file = good;
    SetU32(file, StartAt(file, 0), 0x00FFFFFF);  // the mini stream is gone
    cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(cf->OpenStream("Small")->Size(), 0u);
    EXPECT_EQ(StreamBytes(*cf, "Data"), streams[2].second);

    file = good;
    SetU32(file, kFirstDirAt, 0x00FFFFFF);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    // Without its only FAT sector every chain stops after its first sector: the directory keeps
    // entries 0..3 (the root, "Data", "Small", "1Table"), the mini stream 8 mini sectors.
    file = good;
    SetU32(file, kHeaderDifatAt, 0x00FFFFFF);
    cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(cf->StreamNames(), (std::vector<std::string>{"Data", "Small", "1Table"}));
    EXPECT_EQ(StreamBytes(*cf, "Data").size(), kSector);
    EXPECT_EQ(StreamBytes(*cf, "1Table").size(), 8 * 64u);
    EXPECT_EQ(StreamBytes(*cf, "Small").size(), 0u);
}

TEST(CompoundFileChains, StreamSizeIsClampedToItsChain) {
    const TStreams streams = WordLikeStreams();
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    SetU32(file, SizeAt(file, EntryId(file, "WordDocument")), 0x7FFFFFF0);
    SetU32(file, SizeAt(file, EntryId(file, "Small")), 4000);  // still a mini stream
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    const std::vector<uint8_t> word = StreamBytes(*cf, "WordDocument");
    ASSERT_EQ(word.size(), 18 * kSector);  // the whole chain, not more
    EXPECT_TRUE(std::equal(streams[0].second.begin(), streams[0].second.end(), word.begin()));
    EXPECT_EQ(StreamBytes(*cf, "Small").size(), 4 * 64u);
}

TEST(CompoundFileChains, Version3IgnoresTheHighDwordOfTheSizeVersion4DoesNot) {
    const TStreams streams = WordLikeStreams();
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    SetU32(file, SizeAt(file, EntryId(file, "WordDocument")) + 4, 0xDEADBEEF);
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(StreamBytes(*cf, "WordDocument"), streams[0].second);

    file = WriteCompoundFile(streams, TCfbWriteOptions{.MajorVersion = 4});
    const uint32_t id = EntryId(file, "WordDocument");
    const size_t sizeAt = 4096 * (size_t{GetU32(file, kFirstDirAt)} + 1) + 128 * id + 0x78;
    SetU32(file, sizeAt + 4, 1);
    cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(cf->OpenStream("WordDocument")->Size(), 3 * 4096u);  // clamped to the chain
}

TEST(CompoundFileTree, LinksBackToTheRootOrToThemselvesAreDamage) {
    // Three streams: entry 2 tops the root's tree, 1 and 3 are its left and right.
    const TStreams streams = {{"A", {}}, {"B", {}}, {"C", {}}};
    const std::vector<uint8_t> good = WriteCompoundFile(streams);
    ASSERT_EQ(GetU32(good, ChildAt(good, 0)), 2u);
    std::vector<uint8_t> file = good;
    SetU32(file, ChildAt(file, 0), 0);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    file = good;
    SetU32(file, LeftAt(file, 1), 1);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    file = good;
    SetU32(file, RightAt(file, 3), 2);  // back up to the top of the tree
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    file = good;
    SetU32(file, RightAt(file, 1), 3);  // entry 3 reached twice
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
}

TEST(CompoundFileTree, ChildLinkCyclesAreDamage) {
    const TStreams streams = {{"A", {}}, {"B", {}}, {"C", {}}};
    const std::vector<uint8_t> good = WriteCompoundFile(streams);
    std::vector<uint8_t> file = good;
    file[DirEntryOffset(file, 3) + 0x42] = 1;  // "C" becomes a storage holding itself
    SetU32(file, ChildAt(file, 3), 3);
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    SetU32(file, ChildAt(file, 3), 2);  // holding its own parent's tree
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
    SetU32(file, ChildAt(file, 3), 0);  // holding the root
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
}

TEST(CompoundFileTree, StorageContentsAreNotRootStreams) {
    const TStreams streams = {{"A", Pattern(5, 1)}, {"B", {}}, {"C", {}}};
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    file[DirEntryOffset(file, 3) + 0x42] = 1;  // "C" becomes a storage holding "A"
    SetU32(file, LeftAt(file, 2), 0xFFFFFFFF);
    SetU32(file, ChildAt(file, 3), 1);
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(cf->StreamNames(), std::vector<std::string>{"B"});
    EXPECT_EQ(cf->OpenStream("A").Error().Kind, TErrorKind::NotWordDocument);
    EXPECT_EQ(cf->OpenStream("C").Error().Kind, TErrorKind::NotWordDocument);
}

TEST(CompoundFileTree, LinksPastTheDirectoryOrToUnusedEntriesAreSkipped) {
    // Four streams: entry 2 tops the tree; 5 entries fill two directory sectors, 5..7 unused.
    const TStreams streams = {{"A", {}}, {"B", {}}, {"C", {}}, {"D", {}}};
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    ASSERT_EQ(GetU32(file, ChildAt(file, 0)), 2u);
    SetU32(file, LeftAt(file, 2), 5000);
    SetU32(file, RightAt(file, 2), 5);
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok()) << cf.Error().Message;
    EXPECT_EQ(cf->StreamNames(), std::vector<std::string>{"B"});
}

TEST(CompoundFileTree, OfTwoEqualNamesTheFirstInTreeOrderIsOpened) {
    const TStreams streams = {{"AA", Pattern(5, 1)}, {"BB", Pattern(6, 2)}};
    std::vector<uint8_t> file = WriteCompoundFile(streams);
    file[DirEntryOffset(file, 2)] = 'a';  // "BB" becomes "aa"
    file[DirEntryOffset(file, 2) + 2] = 'a';
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    ASSERT_TRUE(cf.Ok());
    EXPECT_EQ(cf->StreamNames(), (std::vector<std::string>{"AA", "aa"}));
    EXPECT_EQ(StreamBytes(*cf, "aa"), streams[0].second);
}

TEST(CompoundFileTree, RootMustBeEntryZero) {
    std::vector<uint8_t> file = WriteCompoundFile(WordLikeStreams());
    file[DirEntryOffset(file, 0) + 0x42] = 1;
    EXPECT_EQ(OpenKind(file), TErrorKind::Damaged);
}

// Cutting the file anywhere gives an error or streams that are prefixes of the originals.
TEST(CompoundFileTruncated, EveryLengthOpensCleanly) {
    const TStreams streams = WordLikeStreams();
    const std::vector<uint8_t> file = WriteCompoundFile(streams);
    for (size_t length = 0; length <= file.size(); length += length % kSector < 8 ? 1 : 29) {
        Result<TCompoundFile> cf = TCompoundFile::Open({file.begin(), file.begin() + length});
        if (!cf) {
            EXPECT_EQ(cf.Error().Kind,
                      length < 512 ? TErrorKind::NotWordDocument : TErrorKind::Damaged);
            continue;
        }
        for (const auto& [name, bytes] : streams) {
            const std::vector<uint8_t> got = StreamBytes(*cf, name);
            ASSERT_LE(got.size(), bytes.size()) << name << " at length " << length;
            EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin())) << name;
        }
    }
}

TEST(CompoundFileTruncated, CutInsideTheLastSectorKeepsItsBytes) {
    const TStreams streams = {{"Big", Pattern(6000, 9)}};
    const std::vector<uint8_t> file = WriteCompoundFile(streams);  // Big fills the last sectors
    Result<TCompoundFile> cf = TCompoundFile::Open({file.begin(), file.end() - 700});
    ASSERT_TRUE(cf.Ok());
    const std::vector<uint8_t> got = StreamBytes(*cf, "Big");
    EXPECT_EQ(got.size(), 12 * kSector - 700);  // its 12 sectors, less what was cut
    EXPECT_TRUE(std::equal(got.begin(), got.end(), streams[0].second.begin()));
}

// Random damage to the tables: whatever happens, it is an error or a readable file.
TEST(CompoundFileFuzz, RandomByteDamageNeverCrashesOrHangs) {
    const std::vector<uint8_t> good = WriteCompoundFile(WordLikeStreams());
    const size_t tablesEnd = SectorOffset(GetU32(good, kFirstMiniFatAt) + 1);
    std::mt19937 random(20240601);
    std::uniform_int_distribution<size_t> where(0, tablesEnd - 1);
    std::uniform_int_distribution<int> count(1, 8), value(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> file = good;
        for (int n = count(random); n > 0; --n)
            file[where(random)] = static_cast<uint8_t>(value(random));
        Result<TCompoundFile> cf = TCompoundFile::Open(std::move(file));
        if (cf) ReadEverything(*cf);
    }
}

}  // namespace
}  // namespace qm
