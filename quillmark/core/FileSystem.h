#pragma once
// The file operations the session file needs, behind an interface so that tests can make any of
// them fail. Every operation returns 0 or an errno value.

#include <string>
#include <string_view>

namespace qm {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual bool Exists(const std::string& path) = 0;
    // The whole content of a file.
    virtual int ReadFile(const std::string& path, std::string& bytes) = 0;
    // Opens an existing file for writing without changing it and locks it against other writers.
    virtual int OpenForWriting(const std::string& path, int& fd) = 0;
    // Creates a file that must not exist yet, for writing.
    virtual int CreateNew(const std::string& path, int& fd) = 0;
    // Writes all the bytes.
    virtual int Write(int fd, std::string_view bytes) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Close(int fd) = 0;
    // Gives the file behind `to` the permission bits of the file behind `from`.
    virtual int CopyMode(int from, int to) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
    // Flushes the directory that holds the path, so that a rename in it is durable.
    virtual int SyncDirectoryOf(const std::string& path) = 0;
};

// The real file system (POSIX calls).
IFileSystem& PosixFileSystem();

}  // namespace qm
