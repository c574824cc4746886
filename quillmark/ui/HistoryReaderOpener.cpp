#include "quillmark/ui/HistoryReaderOpener.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/SqliteHistoryReader.h"

namespace qm::ui {

TOpenHistory HistoryReaderOpener(std::string sessionFilePath) {
    return [path = std::move(sessionFilePath)]() -> std::unique_ptr<qm::IHistoryReader> {
        // A store that cannot even be looked for is opened all the same, so its reason is told.
        std::error_code error;
        const bool exists = std::filesystem::exists(qm::HistoryStorePath(path), error);
        if (!exists && !error) return nullptr;
        return qm::OpenHistoryReader(path);
    };
}

}  // namespace qm::ui
