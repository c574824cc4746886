#pragma once
// Replaces the whole content of a file so that it is never seen truncated: the new content goes to
// a temporary file in the same directory, is flushed to disk and renamed over the file.
//
//   TSafeFileWriter file(files, path);   // may throw
//   file.Write(part); file.Write(rest);  // may throw
//   file.Commit();                       // may throw
//
// Errors are TError: "Unable to create file: " and the path when the file does not exist and
// cannot be created; otherwise a sentence naming the file with the system's error text. An
// existing file must be writable and not locked by another writer; it keeps its permissions. Until
// Commit succeeds the file is unchanged, and a writer destroyed without a commit leaves no
// temporary file behind.

#include <string>
#include <string_view>

#include "quillmark/core/FileSystem.h"

namespace qm {

class TSafeFileWriter {
public:
    TSafeFileWriter(IFileSystem& files, std::string path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    void Write(std::string_view bytes);
    // Flushes the new content to disk and puts it in place of the file.
    void Commit();

private:
    [[noreturn]] void Fail(int error);
    void Discard();

    IFileSystem& FFiles;
    std::string FPath;
    int FExisting = -1;  // the file being replaced, held open and locked
    std::string FTemporary;
    int FFd = -1;
};

}  // namespace qm
