#include "quillmark/core/SafeFileWriter.h"

#include <unistd.h>

#include <cerrno>

#include "quillmark/base/Error.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/TemporaryFiles.h"

namespace qm {

namespace {

constexpr int kTemporaryNameAttempts = 100;

// The file system makes no files without a name (or the kernel does not know how).
bool CannotBeUnnamed(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// The directory refuses new files to this process.
bool IsRefusal(int error) {
    return error == EACCES || error == EPERM;
}

}  // namespace

TSafeFileWriter::TSafeFileWriter(IFileSystem& files, std::string path)
    : FFiles(files), FPath(std::move(path)), FTarget(FinalTarget(files, FPath)) {
    if (files.Exists(FTarget)) {
        if (const int error = files.OpenForWriting(FTarget, FExisting)) {
            FExisting = -1;
            throw TError::WithSystemError("Unable to open file for writing: " + FPath, error);
        }
    }
    const int error = CreateTemporary();
    if (!error) return;
    if (FExisting < 0) throw TError("Unable to create file: " + FPath);
    if (!IsRefusal(error)) Fail(error);
    FInPlace = true;
}

TSafeFileWriter::~TSafeFileWriter() {
    Discard();
}

// Creates a temporary file beside the target, without a name where possible; 0 or an errno value.
int TSafeFileWriter::CreateTemporary() {
    int error = FFiles.CreateUnnamed(DirectoryOfFile(FTarget), FFd);
    if (error && CannotBeUnnamed(error))
        error = NameTemporary([this](const std::string& name) { return FFiles.CreateNew(name, FFd); });
    if (error) FFd = -1;
    return error;
}

// Runs `create` with temporary names until one is not taken yet; 0 or an errno value.
int TSafeFileWriter::NameTemporary(const std::function<int(const std::string&)>& create) {
    int error = EEXIST;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && error == EEXIST; ++attempt) {
        FTemporary = TemporaryFileName(FTarget, ::getpid(), attempt);
        error = create(FTemporary);
    }
    if (error) FTemporary.clear();
    return error;
}

void TSafeFileWriter::Write(std::string_view bytes) {
    if (const int error = FFiles.Write(FInPlace ? FExisting : FFd, bytes)) Fail(error);
    FWritten += bytes.size();
}

void TSafeFileWriter::Commit() {
    if (FInPlace)
        CommitInPlace();
    else
        CommitTemporary();
    Discard();
}

// The new content was written over the old from its start; what is left of the old goes.
void TSafeFileWriter::CommitInPlace() {
    if (const int error = FFiles.Truncate(FExisting, FWritten)) Fail(error);
    if (const int error = FFiles.Sync(FExisting)) Fail(error);
    const int closeError = FFiles.Close(FExisting);
    FExisting = -1;
    if (closeError) Fail(closeError);
}

void TSafeFileWriter::CommitTemporary() {
    if (FExisting >= 0) FFiles.CopyMode(FExisting, FFd);
    if (const int error = FFiles.Sync(FFd)) Fail(error);
    if (FTemporary.empty()) {
        if (const int error =
                NameTemporary([this](const std::string& name) { return FFiles.NameUnnamed(FFd, name); }))
            Fail(error);
    }
    const int closeError = FFiles.Close(FFd);
    FFd = -1;
    if (closeError) Fail(closeError);
    if (const int error = FFiles.Rename(FTemporary, FTarget)) Fail(error);
    FTemporary.clear();
    FFiles.SyncDirectoryOf(FTarget);
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
