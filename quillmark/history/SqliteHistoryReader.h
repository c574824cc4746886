#pragma once
// Reads the history through a read-only connection of its own. Everything read is checked: texts
// are made valid UTF-8, numbers outside their range are left out or clamped.

#include <memory>
#include <string>

#include "quillmark/core/HistoryStore.h"
#include "quillmark/history/SqliteDatabase.h"

namespace qm {

class TSqliteHistoryReader : public IHistoryReader {
public:
    // Raises TError when the store cannot be opened.
    explicit TSqliteHistoryReader(const std::string& storePath, const std::string& vfsName = {});

    std::vector<THistoryMinute> Minutes(const std::string& address, std::int64_t fromMs,
                                        std::int64_t toMs) override;
    std::vector<THistoryDeviceSummary> Summary() override;
    std::optional<THistoryLatest> Latest(const std::string& address) override;

private:
    TSqliteDatabase db_;
};

// The reader a front end opens on the store beside its session file.
std::unique_ptr<IHistoryReader> OpenHistoryReader(const std::string& sessionFilePath);

}  // namespace qm
