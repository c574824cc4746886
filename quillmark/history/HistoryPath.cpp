#include "quillmark/history/HistoryPath.h"

namespace qm {

std::string HistoryStorePath(const std::string& sessionFilePath) {
    const auto slash = sessionFilePath.rfind('/');
    if (slash == std::string::npos) return kHistoryStoreFileName;
    return sessionFilePath.substr(0, slash + 1) + kHistoryStoreFileName;
}

}  // namespace qm
