#pragma once
// Replaces the whole content of a file so that it is never seen truncated: the new content goes to
// a temporary file in the same directory, is flushed to disk and renamed over the file.

#include <string>
#include <string_view>

#include "quillmark/core/FileSystem.h"

namespace qm {

// Throws TError: "Unable to create file: " and the path when the file does not exist and cannot
// be created; otherwise, on any failure, a sentence naming the file with the system's error text.
// An existing file must be writable and not locked by another writer; it keeps its permissions.
// On failure the file is unchanged and no temporary file remains.
void ReplaceFileContent(IFileSystem& files, const std::string& path, std::string_view content);

}  // namespace qm
