#include "SessionHistory.h"

#include "TerminalText.h"
#include "quillmark/core/FileSystem.h"
#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/SqliteHistoryReader.h"

namespace qm::cli {

std::unique_ptr<IHistoryReader> OpenSessionHistory(const std::string& sessionFilePath) {
    if (!PosixFileSystem().Exists(HistoryStorePath(sessionFilePath))) return nullptr;
    return OpenHistoryReader(sessionFilePath);
}

std::string HistoryFailureText(const std::string& sessionFilePath, const TError& error) {
    std::string text = HistoryStorePath(sessionFilePath) + ": ";
    bool lineBreak = false;
    for (char c : error.Message()) {
        if (c == '\n' || c == '\r') {
            lineBreak = true;
            continue;
        }
        if (lineBreak) text += ' ';
        lineBreak = false;
        text += c;
    }
    return Printable(text);
}

}  // namespace qm::cli
