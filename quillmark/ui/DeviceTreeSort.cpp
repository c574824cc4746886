#include "quillmark/ui/DeviceTreeSort.h"

#include <algorithm>
#include <cstdint>

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

TSortKeys TextKeys(qm::TDeviceList& list, const std::vector<std::string>& rows, int column,
                   TCollationRanks& collation) {
    std::vector<const std::string*> texts(rows.size(), nullptr);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (const TBTDevice* device = list.FindDevice(rows[i]))
            texts[i] = column == dcName ? &device->Name() : &device->Location();
    return collation.Ranks(texts, kMissingKey);
}

// A device without a signal sorts with the missing ones, before the weakest signal.
std::int64_t NumberKey(const TBTDevice& device, int column) {
    switch (column) {
        case dcSeen:
            return device.LastSeen();
        case dcSignal:
            return device.Signal() ? std::int64_t{*device.Signal()} : kMissingKey;
        default:
            return std::int64_t{device.MajorClass()} * 65536 + device.MinorClass();
    }
}

TSortKeys NumberKeys(qm::TDeviceList& list, const std::vector<std::string>& rows, int column) {
    TSortKeys keys(rows.size(), kMissingKey);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TBTDevice* device = list.FindDevice(rows[i]);
        if (device == nullptr) continue;
        keys[i] = NumberKey(*device, column);
    }
    return keys;
}

}  // namespace

void SortDeviceRows(qm::TDeviceList& list, std::vector<std::string>& rows, int column, Qt::SortOrder order,
                    TCollationRanks& collation) {
    if (column < 0 || column >= kDeviceColumnCount) return;
    TSortKeys keys;
    {
        TDeviceListLock lock(list);
        keys = column == dcName || column == dcLocation ? TextKeys(list, rows, column, collation)
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
