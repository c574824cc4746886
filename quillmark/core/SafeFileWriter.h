#pragma once
// Replaces the whole content of a file so that it is never seen truncated: the new content goes to
// a temporary file in the same directory, is flushed to disk and renamed over the file.
//
//   TSafeFileWriter file(files, path);   // may throw
//   file.Write(part); file.Write(rest);  // may throw
//   file.Commit();                       // may throw
//
// The temporary file is made without a name where the file system allows it and named only for
// the rename, so a crash while it is written leaves nothing behind; elsewhere it is named at once
// (TemporaryFiles.h removes those of ended processes).
//
// A path that is a symbolic link is written through to the link's final target (the temporary file
// goes beside the target), so the link stays. When the directory takes no new file but the file
// itself is writable, the file is rewritten in place and flushed to disk instead; only then can a
// failure leave it damaged.
//
// Errors are TError: "Unable to create file: " and the path when the file does not exist and
// cannot be created; otherwise a sentence naming the file with the system's error text. An
// existing file must be writable and not locked by another writer; it keeps its permissions. Until
// Commit succeeds the file is unchanged, and a writer destroyed without a commit leaves no
// temporary file behind.

#include <cstddef>
#include <functional>
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
    int CreateTemporary();
    int NameTemporary(const std::function<int(const std::string&)>& create);
    void CommitInPlace();
    void CommitTemporary();
    [[noreturn]] void Fail(int error);
    void Discard();

    IFileSystem& FFiles;
    std::string FPath;    // as the caller named it, for the error texts
    std::string FTarget;  // the file that is replaced
    int FExisting = -1;   // the file being replaced, held open and locked
    bool FInPlace = false;
    std::size_t FWritten = 0;
    std::string FTemporary;  // empty while the temporary file has no name
    int FFd = -1;
};

}  // namespace qm
