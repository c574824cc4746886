#pragma once
// The file operations the session file needs, behind an interface so that tests can make any of
// them fail. Every operation returns 0 or an errno value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// What tells one state of a file from another: which file a path names, its size and when it
// was last changed.
struct TFileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const TFileStamp&) const = default;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual bool Exists(const std::string& path) = 0;
    // The text of a symbolic link; EINVAL when the path is not one.
    virtual int LinkTarget(const std::string& path, std::string& target) = 0;
    // The whole content of a file.
    virtual int ReadFile(const std::string& path, std::string& bytes) = 0;
    // Opens an existing file for writing without changing it and locks it against other writers.
    virtual int OpenForWriting(const std::string& path, int& fd) = 0;
    // Creates a file that must not exist yet, for writing.
    virtual int CreateNew(const std::string& path, int& fd) = 0;
    // Creates a file without a name in the directory, for writing; EOPNOTSUPP, EISDIR or EINVAL
    // when the file system cannot. It vanishes when closed unless it was named.
    virtual int CreateUnnamed(const std::string& directory, int& fd) = 0;
    // Gives a file made by CreateUnnamed a name that no file has yet (EEXIST otherwise).
    virtual int NameUnnamed(int fd, const std::string& path) = 0;
    // Writes all the bytes.
    virtual int Write(int fd, std::string_view bytes) = 0;
    // Cuts the file to its first `size` bytes.
    virtual int Truncate(int fd, std::size_t size) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Close(int fd) = 0;
    // Gives the file behind `to` the permission bits of the file behind `from`.
    virtual int CopyMode(int from, int to) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
    // Flushes the directory that holds the path, so that a rename in it is durable.
    virtual int SyncDirectoryOf(const std::string& path) = 0;
    // The names of the entries of a directory.
    virtual int ListDirectory(const std::string& directory, std::vector<std::string>& names) = 0;
    // The stamp of the file a path names, following symbolic links.
    virtual int Stamp(const std::string& path, TFileStamp& stamp) = 0;
    // Whether no process with the id runs any more (temporary file names carry their writer's id).
    virtual bool ProcessEnded(int pid) = 0;
};

// The real file system (POSIX calls).
IFileSystem& PosixFileSystem();

// The file that the path names after following symbolic links, as far as they lead: the path
// itself when it is not a link, the last link's target when that does not exist.
std::string FinalTarget(IFileSystem& files, const std::string& path);

}  // namespace qm
