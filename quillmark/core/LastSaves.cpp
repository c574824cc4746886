#include "quillmark/core/LastSaves.h"

#include <functional>

namespace qm {

bool TLastSaves::Unchanged(IFileSystem& files, const std::string& path, std::string_view text) {
    std::lock_guard lock(FMutex);
    const auto found = FSaves.find(path);
    if (found == FSaves.end() || found->second.size != text.size()) return false;
    TFileStamp stamp;
    return files.Stamp(path, stamp) == 0 && stamp == found->second.stamp &&
           found->second.hash == std::hash<std::string_view>{}(text);
}

void TLastSaves::Remember(IFileSystem& files, const std::string& path, std::string_view text) {
    TFileStamp stamp;
    const bool stamped = files.Stamp(path, stamp) == 0;
    std::lock_guard lock(FMutex);
    if (stamped)
        FSaves[path] = TSave{text.size(), std::hash<std::string_view>{}(text), stamp};
    else
        FSaves.erase(path);
}

TLastSaves& LastSaves() {
    static TLastSaves saves;
    return saves;
}

}  // namespace qm
