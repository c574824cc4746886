#include "quillmark/ui/DeviceTreeSort.h"

#include <QCollator>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/ui/DeviceTreeModel.h"

namespace qm::ui {

namespace {

using TSortKeys = std::vector<std::int64_t>;

constexpr std::int64_t kMissingKey = INT64_MIN;

// A row's key beside its position in the list order, kept together so the sort reads no other
// memory.
struct TKeyedRow {
    std::int64_t key;
    std::uint32_t row;
};

// Negative when row a sorts before row b in ascending order, 0 when their keys are equal.
int DeviceTreeCompareNodes(const TKeyedRow& a, const TKeyedRow& b) {
    return (a.key > b.key) - (a.key < b.key);
}

// The rank of each text in the collation order; texts the collator finds equal share a rank.
// Repeated texts (many devices share a location or the name "Unknown") are collated once.
TSortKeys CollationRanks(const std::vector<const std::string*>& texts) {
    std::unordered_map<std::string_view, std::size_t> distinctOf;
    distinctOf.reserve(texts.size());
    std::vector<std::size_t> textDistinct(texts.size());
    std::vector<std::string_view> distinct;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == nullptr) continue;
        const auto [entry, added] = distinctOf.try_emplace(*texts[i], distinct.size());
        if (added) distinct.push_back(*texts[i]);
        textDistinct[i] = entry->second;
    }
    const QCollator collator;
    std::vector<QCollatorSortKey> sortKeys;
    sortKeys.reserve(distinct.size());
    for (std::string_view text : distinct)
        sortKeys.push_back(
            collator.sortKey(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
    std::vector<std::size_t> order(distinct.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return sortKeys[a].compare(sortKeys[b]) < 0; });
    TSortKeys distinctRank(distinct.size());
    std::int64_t rank = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && sortKeys[order[i - 1]].compare(sortKeys[order[i]]) != 0) ++rank;
        distinctRank[order[i]] = rank;
    }
    TSortKeys keys(texts.size(), kMissingKey);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i] != nullptr) keys[i] = distinctRank[textDistinct[i]];
    return keys;
}

TSortKeys TextKeys(qm::TDeviceList& list, const std::vector<std::string>& rows, int column) {
    std::vector<const std::string*> texts(rows.size(), nullptr);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (const TBTDevice* device = list.FindDevice(rows[i]))
            texts[i] = column == dcName ? &device->Name() : &device->Location();
    return CollationRanks(texts);
}

TSortKeys NumberKeys(qm::TDeviceList& list, const std::vector<std::string>& rows, int column) {
    TSortKeys keys(rows.size(), kMissingKey);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TBTDevice* device = list.FindDevice(rows[i]);
        if (device == nullptr) continue;
        keys[i] = column == dcSeen ? std::int64_t{device->LastSeen()}
                                   : std::int64_t{device->MajorClass()} * 65536 + device->MinorClass();
    }
    return keys;
}

}  // namespace

void SortDeviceRows(qm::TDeviceList& list, std::vector<std::string>& rows, int column, Qt::SortOrder order) {
    if (column < 0 || column >= kDeviceColumnCount) return;
    TSortKeys keys;
    {
        TDeviceListLock lock(list);
        keys = column == dcName || column == dcLocation ? TextKeys(list, rows, column)
                                                        : NumberKeys(list, rows, column);
    }
    std::vector<TKeyedRow> keyed(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) keyed[i] = {keys[i], static_cast<std::uint32_t>(i)};
    // Descending reverses the comparison's sign; equal keys fall back to the list order in both
    // directions, which makes the sort stable.
    const int sign = order == Qt::AscendingOrder ? 1 : -1;
    std::sort(keyed.begin(), keyed.end(), [sign](const TKeyedRow& a, const TKeyedRow& b) {
        const int compared = sign * DeviceTreeCompareNodes(a, b);
        return compared != 0 ? compared < 0 : a.row < b.row;
    });
    std::vector<std::string> sorted;
    sorted.reserve(rows.size());
    for (const TKeyedRow& entry : keyed) sorted.push_back(std::move(rows[entry.row]));
    rows = std::move(sorted);
}

}  // namespace qm::ui
