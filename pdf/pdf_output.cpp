#include "pdf/pdf_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace qm {

namespace {

std::string ErrnoText(std::string_view what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The destination must be a place we may write: an existing folder, and if a file is already
// there, one we are allowed to replace.
// existingMode receives the permission bits of a file already there (0 when there is none).
bool CheckDestination(const std::string& destination, mode_t& existingMode, std::string& error) {
    struct stat info {};
    existingMode = 0;
    if (destination.empty() || destination.back() == '/') {
        error = "No file name in " + destination;
        return false;
    }
    if (stat(destination.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = destination + " is a folder";
            return false;
        }
        if (access(destination.c_str(), W_OK) != 0) {
            error = ErrnoText("Can not write", destination);
            return false;
        }
        existingMode = info.st_mode & 07777;
    }
    return true;
}

class TFileOutput final : public TPDFOutput {
  public:
    TFileOutput(std::FILE* file, std::string tempPath, std::string destination)
        : file_(file), tempPath_(std::move(tempPath)), destination_(std::move(destination)) {}
    ~TFileOutput() override { Abandon(); }

    bool Write(std::string_view bytes) override {
        if (file_ == nullptr) return false;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
        error_ = ErrnoText("Can not write", destination_);
        return false;
    }

    bool Commit() override {
        if (file_ == nullptr) return false;
        // Flush and sync before the rename, so that a crash never leaves a destination that
        // names a file whose bytes are not on the disk yet.
        bool ok = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
        if (!ok) error_ = ErrnoText("Can not write", destination_);
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (ok && !closed) {
            error_ = ErrnoText("Can not write", destination_);
            ok = false;
        }
        if (ok && std::rename(tempPath_.c_str(), destination_.c_str()) != 0) {
            error_ = ErrnoText("Can not create", destination_);
            ok = false;
        }
        if (!ok) std::remove(tempPath_.c_str());
        tempPath_.clear();
        return ok;
    }

    void Abandon() override {
        if (file_ != nullptr) {
            std::fclose(file_);
            file_ = nullptr;
        }
        if (!tempPath_.empty()) {
            std::remove(tempPath_.c_str());
            tempPath_.clear();
        }
    }

  private:
    std::FILE* file_;
    std::string tempPath_;
    std::string destination_;
};

// A hidden name in the destination's folder that nobody can guess in advance; created with
// O_EXCL so that a planted file or link is never followed or reused.
int CreateTempFile(const std::string& destination, std::string& tempPath) {
    std::random_device entropy;
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::string prefix = FolderOf(destination) + "/." + FileNameOf(destination) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (int i = 0; i < 12; ++i)
            suffix.push_back(kLetters[entropy() % 36]);
        tempPath = prefix + suffix + ".tmp";
        const int fd =
            open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

class TStreamOutput final : public TPDFOutput {
  public:
    explicit TStreamOutput(std::ostream& stream) : stream_(stream) {}

    bool Write(std::string_view bytes) override {
        stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (stream_) return true;
        error_ = "Can not write the PDF stream";
        return false;
    }
    bool Commit() override {
        stream_.flush();
        if (stream_) return true;
        error_ = "Can not write the PDF stream";
        return false;
    }
    void Abandon() override { stream_.flush(); }

  private:
    std::ostream& stream_;
};

}  // namespace

std::unique_ptr<TPDFOutput> OpenFileOutput(const std::string& destination, std::string& error) {
    mode_t existingMode = 0;
    if (!CheckDestination(destination, existingMode, error)) return nullptr;
    std::string tempPath;
    const int fd = CreateTempFile(destination, tempPath);
    if (fd < 0) {
        error = ErrnoText("Can not create", destination);
        return nullptr;
    }
    // A replaced file keeps its permissions; a new one gets the usual ones (0666 and umask).
    if (existingMode != 0) fchmod(fd, existingMode);
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        error = ErrnoText("Can not create", destination);
        close(fd);
        std::remove(tempPath.c_str());
        return nullptr;
    }
    return std::make_unique<TFileOutput>(file, tempPath, destination);
}

std::unique_ptr<TPDFOutput> MakeStreamOutput(std::ostream& stream) {
    return std::make_unique<TStreamOutput>(stream);
}

}  // namespace qm
