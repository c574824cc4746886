#include "quillmark/core/SafeFileWriter.h"

#include <unistd.h>

#include <cerrno>

#include "quillmark/base/Error.h"

namespace qm {

namespace {

constexpr int kTemporaryNameAttempts = 100;

}  // namespace

TSafeFileWriter::TSafeFileWriter(IFileSystem& files, std::string path)
    : FFiles(files), FPath(std::move(path)) {
    if (files.Exists(FPath)) {
        if (const int error = files.OpenForWriting(FPath, FExisting)) {
            FExisting = -1;
            throw TError::WithSystemError("Unable to open file for writing: " + FPath, error);
        }
    }
    int error = EEXIST;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && error == EEXIST; ++attempt) {
        FTemporary = FPath + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        error = files.CreateNew(FTemporary, FFd);
    }
    if (error) {
        FFd = -1;
        FTemporary.clear();
        if (FExisting < 0) throw TError("Unable to create file: " + FPath);
        Fail(error);
    }
}

TSafeFileWriter::~TSafeFileWriter() {
    Discard();
}

void TSafeFileWriter::Write(std::string_view bytes) {
    if (const int error = FFiles.Write(FFd, bytes)) Fail(error);
}

void TSafeFileWriter::Commit() {
    if (FExisting >= 0) FFiles.CopyMode(FExisting, FFd);
    if (const int error = FFiles.Sync(FFd)) Fail(error);
    const int closeError = FFiles.Close(FFd);
    FFd = -1;
    if (closeError) Fail(closeError);
    if (const int error = FFiles.Rename(FTemporary, FPath)) Fail(error);
    FTemporary.clear();
    FFiles.SyncDirectoryOf(FPath);
    Discard();
}

void TSafeFileWriter::Fail(int error) {
    Discard();
    throw TError::WithSystemError("Unable to write file: " + FPath, error);
}

// Closes what is open and removes a temporary file that did not take the file's place.
void TSafeFileWriter::Discard() {
    if (FFd >= 0) FFiles.Close(FFd);
    FFd = -1;
    if (!FTemporary.empty()) FFiles.Remove(FTemporary);
    FTemporary.clear();
    if (FExisting >= 0) FFiles.Close(FExisting);
    FExisting = -1;
}

}  // namespace qm
