#include "quillmark/core/SafeFileWriter.h"

#include <unistd.h>

#include <cerrno>

#include "quillmark/base/Error.h"

namespace qm {

namespace {

constexpr int kTemporaryNameAttempts = 100;

// A new file beside the target, named after it, the process and an attempt number.
int CreateTemporary(IFileSystem& files, const std::string& path, std::string& temporary, int& fd) {
    int error = EEXIST;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && error == EEXIST; ++attempt) {
        temporary = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        error = files.CreateNew(temporary, fd);
    }
    return error;
}

// Holds the existing file open (and locked) for the time of the replacement.
class TExistingFile {
public:
    TExistingFile(IFileSystem& files, const std::string& path) : FFiles(files) {
        if (!files.Exists(path)) return;
        if (const int error = files.OpenForWriting(path, FFd))
            throw TError::WithSystemError("Unable to open file for writing: " + path, error);
    }
    ~TExistingFile() {
        if (FFd >= 0) FFiles.Close(FFd);
    }
    TExistingFile(const TExistingFile&) = delete;
    TExistingFile& operator=(const TExistingFile&) = delete;

    bool Exists() const { return FFd >= 0; }
    int Fd() const { return FFd; }

private:
    IFileSystem& FFiles;
    int FFd = -1;
};

// Writes, flushes and closes the temporary file; the first error, or 0.
int FillTemporary(IFileSystem& files, int fd, std::string_view content, const TExistingFile& existing) {
    int error = files.Write(fd, content);
    if (!error && existing.Exists()) files.CopyMode(existing.Fd(), fd);
    if (!error) error = files.Sync(fd);
    const int closeError = files.Close(fd);
    return error ? error : closeError;
}

}  // namespace

void ReplaceFileContent(IFileSystem& files, const std::string& path, std::string_view content) {
    const TExistingFile existing(files, path);
    std::string temporary;
    int fd = -1;
    if (const int error = CreateTemporary(files, path, temporary, fd)) {
        if (!existing.Exists()) throw TError("Unable to create file: " + path);
        throw TError::WithSystemError("Unable to write file: " + path, error);
    }
    int error = FillTemporary(files, fd, content, existing);
    if (!error) error = files.Rename(temporary, path);
    if (error) {
        files.Remove(temporary);
        throw TError::WithSystemError("Unable to write file: " + path, error);
    }
    files.SyncDirectoryOf(path);
}

}  // namespace qm
