#pragma once
// What the last save to each path wrote, so that a save of the same text again can be left out.
// A text is known by its size and hash, the file by its stamp (FileSystem.h) just after the save:
// a file that was changed, replaced or removed since is written again.

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "quillmark/core/FileSystem.h"

namespace qm {

class TLastSaves {
public:
    // Whether the last save to the path wrote this text and the file is still what it left.
    bool Unchanged(IFileSystem& files, const std::string& path, std::string_view text);
    // Notes a save that succeeded.
    void Remember(IFileSystem& files, const std::string& path, std::string_view text);

private:
    struct TSave {
        std::size_t size;
        std::size_t hash;
        TFileStamp stamp;
    };
    std::mutex FMutex;
    std::map<std::string, TSave, std::less<>> FSaves;
};

// The saves of this process.
TLastSaves& LastSaves();

}  // namespace qm
