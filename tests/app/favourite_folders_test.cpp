#include "app/window/favourite_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace qm {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FavouriteFoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qm-favourites-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = (dir_ / "folders.dat").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    std::string file_;
};

TEST_F(FavouriteFoldersTest, MostRecentFirstWithoutDuplicates) {
    TFavouriteFolders favourites(file_);
    favourites.AddToPrefFolders("/data/A/");
    favourites.AddToPrefFolders("/data/B/");
    EXPECT_EQ(favourites.Items(), (std::vector<std::string>{"/data/B/", "/data/A/"}));
    favourites.AddToPrefFolders("/data/A/");
    EXPECT_EQ(favourites.Items(), (std::vector<std::string>{"/data/A/", "/data/B/"}));
    EXPECT_EQ(ReadFile(file_), "/data/A/\r\n/data/B/\r\n");
    // The same folder twice in a row stays one entry.
    favourites.AddToPrefFolders("/data/A/");
    EXPECT_EQ(ReadFile(file_), "/data/A/\r\n/data/B/\r\n");
}

TEST_F(FavouriteFoldersTest, LetterCaseMakesSeparateEntries) {
    TFavouriteFolders favourites(file_);
    favourites.AddToPrefFolders("/data/Docs/");
    favourites.AddToPrefFolders("/data/docs/");
    favourites.AddToPrefFolders("/DATA/DOCS/");
    EXPECT_EQ(ReadFile(file_), "/DATA/DOCS/\r\n/data/docs/\r\n/data/Docs/\r\n");
}

TEST_F(FavouriteFoldersTest, LoadKeepsFileOrderAndAcceptsBareLineFeeds) {
    std::ofstream(file_, std::ios::binary) << "/b/\r\n/a/\n\r\n/c/";
    TFavouriteFolders favourites(file_);
    favourites.Load();
    EXPECT_EQ(favourites.Items(), (std::vector<std::string>{"/b/", "/a/", "/c/"}));
    favourites.AddToPrefFolders("/c/");
    EXPECT_EQ(ReadFile(file_), "/c/\r\n/b/\r\n/a/\r\n");
}

TEST_F(FavouriteFoldersTest, MissingFileGivesAnEmptyList) {
    TFavouriteFolders favourites((dir_ / "none" / "folders.dat").string());
    favourites.Load();
    EXPECT_TRUE(favourites.Items().empty());
}

TEST_F(FavouriteFoldersTest, UnwritableFileStillReordersTheList) {
    // A folder path through a plain file can never be created, even by root.
    std::ofstream(dir_ / "plain") << "x";
    TFavouriteFolders favourites((dir_ / "plain" / "folders.dat").string());
    EXPECT_FALSE(favourites.AddToPrefFolders("/a/"));
    EXPECT_FALSE(favourites.AddToPrefFolders("/b/"));
    EXPECT_EQ(favourites.Items(), (std::vector<std::string>{"/b/", "/a/"}));
}

TEST_F(FavouriteFoldersTest, SavingCreatesTheConfigurationFolder) {
    const std::string nested = (dir_ / "config" / "quillmere" / "folders.dat").string();
    TFavouriteFolders favourites(nested);
    EXPECT_TRUE(favourites.AddToPrefFolders("/a/"));
    EXPECT_EQ(ReadFile(nested), "/a/\r\n");
}

TEST(TrailingSlashTest, AddsExactlyOne) {
    EXPECT_EQ(WithTrailingSlash("/home/ann/docs"), "/home/ann/docs/");
    EXPECT_EQ(WithTrailingSlash("/home/ann/docs/"), "/home/ann/docs/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
    EXPECT_EQ(WithTrailingSlash(""), "/");
}

// Sets an environment variable for one scope and restores it afterwards.
class TScopedEnv {
  public:
    TScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~TScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(FavouriteFoldersTest, BesideTheProgramWhenItsFolderIsWritable) {
    EXPECT_EQ(FoldersDatPath(dir_.string()), dir_.string() + "/folders.dat");
    EXPECT_EQ(FoldersDatPath(dir_.string() + "/"), dir_.string() + "/folders.dat");
}

TEST_F(FavouriteFoldersTest, InTheConfigurationFolderOtherwise) {
    const std::string missing = (dir_ / "not-there").string();
    {
        TScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/config");
        EXPECT_EQ(FoldersDatPath(missing), "/xdg/config/quillmere/folders.dat");
    }
    {
        TScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        TScopedEnv home("HOME", "/home/ann");
        EXPECT_EQ(FoldersDatPath(missing), "/home/ann/.config/quillmere/folders.dat");
    }
    {
        // A relative XDG_CONFIG_HOME is ignored.
        TScopedEnv xdg("XDG_CONFIG_HOME", "relative");
        TScopedEnv home("HOME", "/home/ann");
        EXPECT_EQ(FoldersDatPath(missing), "/home/ann/.config/quillmere/folders.dat");
    }
}

}  // namespace
}  // namespace qm
