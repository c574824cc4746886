#include "quillmark/core/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>

#include "quillmark/core/ProgramDirectory.h"

namespace qm {

namespace {

// As many links as the system follows before it gives up with ELOOP.
constexpr int kMostLinksFollowed = 40;

int ErrorOf(int result) {
    return result < 0 ? errno : 0;
}

class TPosixFileSystem : public IFileSystem {
public:
    bool Exists(const std::string& path) override {
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0;
    }

    int LinkTarget(const std::string& path, std::string& target) override {
        char text[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), text, sizeof text);
        if (length < 0) return errno;
        if (static_cast<std::size_t>(length) >= sizeof text) return ENAMETOOLONG;
        target.assign(text, static_cast<std::size_t>(length));
        return 0;
    }

    int ReadFile(const std::string& path, std::string& bytes) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errno;
        const int error = ReadAll(fd, bytes);
        ::close(fd);
        return error;
    }

    int OpenForWriting(const std::string& path, int& fd) override {
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return errno;
        if (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        return 0;
    }

    int CreateNew(const std::string& path, int& fd) override {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return ErrorOf(fd);
    }

    int CreateUnnamed(const std::string& directory, int& fd) override {
        fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        return ErrorOf(fd);
    }

    // Through the descriptor's entry in /proc, which needs no privilege; by the descriptor itself
    // where /proc is missing (that needs CAP_DAC_READ_SEARCH).
    int NameUnnamed(int fd, const std::string& path) override {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
        const int error = errno;
        if (error == EEXIST) return error;
        return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0 ? 0 : error;
    }

    int Write(int fd, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) return errno;
            if (written == 0) return EIO;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return 0;
    }

    int Truncate(int fd, std::size_t size) override {
        return ErrorOf(::ftruncate(fd, static_cast<off_t>(size)));
    }
    int Sync(int fd) override { return ErrorOf(::fsync(fd)); }
    int Close(int fd) override { return ErrorOf(::close(fd)); }

    int CopyMode(int from, int to) override {
        struct stat info;
        if (::fstat(from, &info) < 0) return errno;
        return ErrorOf(::fchmod(to, info.st_mode & 07777));
    }

    int Rename(const std::string& from, const std::string& to) override {
        return ErrorOf(std::rename(from.c_str(), to.c_str()));
    }

    int Remove(const std::string& path) override { return ErrorOf(::unlink(path.c_str())); }

    int SyncDirectoryOf(const std::string& path) override {
        const int fd = ::open(DirectoryOfFile(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno;
        const int error = ErrorOf(::fsync(fd));
        ::close(fd);
        return error;
    }

    int ListDirectory(const std::string& directory, std::vector<std::string>& names) override {
        const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno;
        DIR* entries = ::fdopendir(fd);
        if (!entries) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        names.clear();
        errno = 0;
        while (const dirent* entry = ::readdir(entries)) names.emplace_back(entry->d_name);
        const int error = errno;
        ::closedir(entries);
        return error;
    }

    int Stamp(const std::string& path, TFileStamp& stamp) override {
        struct stat info;
        if (::stat(path.c_str(), &info) < 0) return errno;
        stamp =
            TFileStamp{info.st_dev, info.st_ino, info.st_size,
                       static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
        return 0;
    }

    bool ProcessEnded(int pid) override { return ::kill(pid, 0) == -1 && errno == ESRCH; }

private:
    static int ReadAll(int fd, std::string& bytes) {
        struct stat info;
        if (::fstat(fd, &info) < 0) return errno;
        bytes.clear();
        if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return errno;
            if (got == 0) return 0;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }
};

}  // namespace

IFileSystem& PosixFileSystem() {
    static TPosixFileSystem files;
    return files;
}

std::string FinalTarget(IFileSystem& files, const std::string& path) {
    std::string target = path;
    std::string next;
    for (int hop = 0; hop < kMostLinksFollowed && files.LinkTarget(target, next) == 0; ++hop)
        target = next.starts_with('/') ? next : DirectoryOfFile(target) + next;
    return target;
}

}  // namespace qm
