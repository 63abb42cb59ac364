// The favourite folders: the folders files were last opened from, most recent first, kept in
// "folders.dat" (one folder a line, CR LF line ends, no header). No Qt here.
#pragma once

#include <string>
#include <vector>

namespace qm {

// Where "folders.dat" lives: beside the executable when that folder is writable (a portable
// copy), otherwise in the user's configuration folder ($XDG_CONFIG_HOME/quillmere/, by default
// ~/.config/quillmere/), since an installed program's folder cannot keep the list.
std::string FoldersDatPath(const std::string& programDir);

// The folder with "/" appended unless it already ends in one.
std::string WithTrailingSlash(std::string folder);

class TFavouriteFolders {
  public:
    explicit TFavouriteFolders(std::string file) : file_(std::move(file)) {}

    // Reads the list from the file, in file order. A missing or unreadable file gives an empty
    // list, silently.
    void Load();

    // Puts `folder` at the top (an exactly equal entry, letter case counting, moves there) and
    // rewrites the file. A file that cannot be written is left as it was; the list still
    // changes. Returns whether the file was written.
    bool AddToPrefFolders(const std::string& folder);

    const std::vector<std::string>& Items() const { return items_; }
    const std::string& File() const { return file_; }

  private:
    bool Save() const;

    std::string file_;
    std::vector<std::string> items_;
};

}  // namespace qm
