#include "app/window/favourite_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qm {

namespace {

std::string ConfigFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // XDG base directories must be absolute: a relative path in the variable is ignored.
    if (xdg != nullptr && xdg[0] == '/') return WithTrailingSlash(xdg);
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return WithTrailingSlash(home) + ".config/";
    return "";
}

}  // namespace

std::string FoldersDatPath(const std::string& programDir) {
    const std::string beside = WithTrailingSlash(programDir);
    if (!programDir.empty() && access(beside.c_str(), W_OK) == 0) return beside + "folders.dat";
    const std::string config = ConfigFolder();
    if (config.empty()) return beside + "folders.dat";
    return config + "quillmere/folders.dat";
}

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void TFavouriteFolders::Load() {
    items_.clear();
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Quirk: a blank line names no folder and is not listed.
        if (!line.empty()) items_.push_back(line);
    }
}

bool TFavouriteFolders::AddToPrefFolders(const std::string& folder) {
    int found = -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] == folder) found = static_cast<int>(i);
    }
    if (found >= 0) items_.erase(items_.begin() + found);
    items_.insert(items_.begin(), folder);
    return Save();
}

bool TFavouriteFolders::Save() const {
    // The configuration folder may not exist yet; failing to make it shows as a failed open.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), ignored);
    std::ofstream out(file_, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& item : items_)
        out << item << "\r\n";
    out.close();
    return !out.fail();
}

}  // namespace qm
