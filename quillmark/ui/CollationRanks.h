#pragma once
// The collation order (locale-aware, letter case significant) of the names or locations of the
// device view's rows, as one integer rank per text. The collation key of each text and the ranks
// of the last sort are kept: a rebuild of a large device view usually meets exactly the same texts
// again, and then neither a key is made nor the distinct texts sorted anew. The order follows the
// default QLocale at the time of each call.

#include <QCollator>
#include <QCollatorSortKey>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm::ui {

class TCollationRanks {
public:
    // The rank of each text: texts that collate equal share a rank, a null text gets `missing`.
    std::vector<std::int64_t> Ranks(const std::vector<const std::string*>& texts, std::int64_t missing);

private:
    struct TEntry {
        QCollatorSortKey key;
        std::int64_t rank = 0;
        std::uint64_t seenIn = 0;  // the last call that met the text
    };
    struct THash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // Beyond this many texts the cache starts afresh, so texts that are gone do not pile up.
    static constexpr std::size_t kMaximumTexts = 1u << 20;

    TEntry& EntryOf(const std::string& text, bool& added);
    void RankInOrder(std::vector<TEntry*>& distinct);

    QCollator FCollator;
    std::unordered_map<std::string, TEntry, THash, std::equal_to<>> FEntries;
    std::uint64_t FCall = 0;
    std::size_t FLastDistinctCount = 0;
};

}  // namespace qm::ui
