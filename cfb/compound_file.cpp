#include "cfb/compound_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cfb/cfb_chain.h"
#include "cfb/cfb_directory.h"
#include "cfb/cfb_fat.h"
#include "cfb/cfb_format.h"
#include "cfb/cfb_header.h"

namespace qm {
namespace {

// Directory entry names are compared without regard to case ([MS-CFB] 2.6.4); here for ASCII.
std::string AsciiUpper(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

Result<TCompoundFile> TCompoundFile::Open(std::vector<uint8_t> fileBytes) {
    if (fileBytes.size() > kMaxCompoundFileBytes) {
        return MakeError(TErrorKind::LimitExceeded, "The file is too large");
    }
    Result<TCfbHeader> header = ReadCfbHeader(fileBytes);
    if (!header) return header.Error();
    TCompoundFile file;
    file.file_ = std::move(fileBytes);
    Result<bool> loaded = file.LoadTables(*header);
    if (!loaded) return loaded.Error();
    return file;
}

Result<TCompoundFile> TCompoundFile::OpenFile(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return MakeError(TErrorKind::Io, "Can not read " + path);
    if (size > kMaxCompoundFileBytes) {
        return MakeError(TErrorKind::LimitExceeded, "The file is too large");
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(size);
    if (!in ||
        !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return MakeError(TErrorKind::Io, "Can not read " + path);
    }
    return Open(std::move(bytes));
}

Result<bool> TCompoundFile::LoadTables(const TCfbHeader& header) {
    sectorSize_ = header.SectorSize;
    miniSectorSize_ = cfb::kMiniSectorSize;
    miniStreamCutoff_ = cfb::kMiniStreamCutoff;
    const TCfbSectors sectors(file_, sectorSize_, sectorSize_);

    Result<std::vector<uint32_t>> fat = ReadFat(header, sectors);
    if (!fat) return fat.Error();
    fat_ = std::move(*fat);

    // The directory and the mini FAT have no stated length: their chains give it.
    Result<std::vector<uint8_t>> dirBytes =
        ReadChain(sectors, fat_, header.FirstDirSector, UINT64_MAX, "directory");
    if (!dirBytes) return dirBytes.Error();
    dir_ = ParseDirectory(*dirBytes, header.MajorVersion);
    Result<std::vector<uint32_t>> members = WalkDirectoryTree(dir_);
    if (!members) return members.Error();
    rootMembers_ = std::move(*members);
    IndexRootStreams();

    Result<std::vector<uint8_t>> miniFatBytes =
        ReadChain(sectors, fat_, header.FirstMiniFatSector, UINT64_MAX, "mini FAT");
    if (!miniFatBytes) return miniFatBytes.Error();
    // The mini stream is the root entry's stream ([MS-CFB] 2.6.2).
    Result<std::vector<uint8_t>> miniStream =
        ReadChain(sectors, fat_, dir_[0].StartSector, dir_[0].Size, "mini stream");
    if (!miniStream) return miniStream.Error();
    miniStream_ = std::move(*miniStream);
    miniFat_ = ReadTableEntries(*miniFatBytes);
    // Mini sectors past the end of the mini stream hold nothing: links to them end a chain.
    const TCfbSectors miniSectors(miniStream_, miniSectorSize_, 0);
    if (miniFat_.size() > miniSectors.Count()) miniFat_.resize(miniSectors.Count());
    return true;
}

void TCompoundFile::IndexRootStreams() {
    streamIndex_.clear();
    for (uint32_t id : rootMembers_) {
        if (dir_[id].Type == cfb::kTypeStream)
            streamIndex_.emplace_back(AsciiUpper(dir_[id].Name), id);
    }
    std::stable_sort(streamIndex_.begin(), streamIndex_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

const TCompoundFile::TDirEntry* TCompoundFile::FindRootStream(std::string_view name) const {
    const std::string key = AsciiUpper(name);
    const auto found =
        std::lower_bound(streamIndex_.begin(), streamIndex_.end(), key,
                         [](const auto& item, const std::string& k) { return item.first < k; });
    if (found == streamIndex_.end() || found->first != key) return nullptr;
    return &dir_[found->second];
}

Result<std::vector<uint8_t>> TCompoundFile::ReadStreamBytes(const TDirEntry& entry) const {
    if (entry.Size == 0) return std::vector<uint8_t>{};
    if (entry.Size < miniStreamCutoff_) {
        const TCfbSectors miniSectors(miniStream_, miniSectorSize_, 0);
        return ReadChain(miniSectors, miniFat_, entry.StartSector, entry.Size, "stream");
    }
    const TCfbSectors sectors(file_, sectorSize_, sectorSize_);
    return ReadChain(sectors, fat_, entry.StartSector, entry.Size, "stream");
}

Result<TCfbStream> TCompoundFile::OpenStream(std::string_view name) const {
    const TDirEntry* entry = FindRootStream(name);
    if (entry == nullptr) {
        return MakeError(TErrorKind::NotWordDocument,
                         "Compound file: no stream \"" + std::string(name) + "\"");
    }
    Result<std::vector<uint8_t>> bytes = ReadStreamBytes(*entry);
    if (!bytes) return bytes.Error();
    return TCfbStream(std::move(*bytes));
}

std::vector<std::string> TCompoundFile::StreamNames() const {
    std::vector<std::string> names;
    for (uint32_t id : rootMembers_) {
        if (dir_[id].Type == cfb::kTypeStream) names.push_back(dir_[id].Name);
    }
    return names;
}

}  // namespace qm
