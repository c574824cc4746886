#pragma once
// The temporary files of a save: their names, which carry the id of the process that writes them,
// and the removal of those that a crashed or killed process left behind.

#include <optional>
#include <string>
#include <string_view>

#include "quillmark/core/FileSystem.h"

namespace qm {

// "<path>.tmp-<pid>-<number>".
std::string TemporaryFileName(const std::string& path, int pid, int number);

// The process id in a directory entry named as TemporaryFileName names the temporary files of
// the file `fileName` (without its directory), or none for any other entry.
std::optional<int> TemporaryFileWriter(std::string_view entry, std::string_view fileName);

// Removes the temporary files beside the final target of the path whose processes no longer run.
void RemoveLeftoverTemporaryFiles(IFileSystem& files, const std::string& path);

}  // namespace qm
