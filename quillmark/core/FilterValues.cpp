#include "quillmark/core/FilterValues.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/TextCompare.h"
#include "quillmark/core/TimeText.h"

namespace qm {

namespace {

// Counts occurrences by the upper-case key of each value; the first spelling names the entry.
// Each spelling is folded once: later occurrences find their entry by the spelling itself.
class TValueCounter {
public:
    void Count(const std::string& value) {
        const auto spelling = FIndexBySpelling.find(value);
        if (spelling != FIndexBySpelling.end()) {
            ++FValues[spelling->second].count;
            return;
        }
        const auto [position, added] = FIndexByKey.try_emplace(UpperCaseKey(value), FValues.size());
        if (added)
            FValues.push_back({value, 1});
        else
            ++FValues[position->second].count;
        FIndexBySpelling.emplace(value, position->second);
    }
    std::vector<TFilterValueCount> Take() { return std::move(FValues); }

private:
    std::unordered_map<std::string, std::size_t> FIndexBySpelling;
    std::unordered_map<std::u32string, std::size_t> FIndexByKey;
    std::vector<TFilterValueCount> FValues;
};

void CountDevice(TBTDevice& device, TFilterKind kind, std::int32_t now, const TVendorRegistry& vendors,
                 TValueCounter& counter) {
    switch (kind) {
        case fkNone:
            break;
        case fkServices: {
            for (const std::string& service : device.Services()) counter.Count(service);
            const std::optional<std::string> tracker = TrackerServiceText(device.Advertising());
            if (tracker) counter.Count(*tracker);
            break;
        }
        case fkLocation:
            counter.Count(device.Location());
            break;
        default:
            counter.Count(DeviceFilterText(device, kind, now, vendors));
            break;
    }
}

// The fixed order of a kind whose values are few and known; values it does not know go last.
std::size_t FixedRank(const std::vector<std::string_view>& order, const std::string& value) {
    return static_cast<std::size_t>(std::find(order.begin(), order.end(), value) - order.begin());
}

// Radio and Address values keep their fixed order, makers go alphabetically; the others stay in
// the order of first appearance.
void SortValues(TFilterKind kind, std::vector<TFilterValueCount>& values) {
    static const std::vector<std::string_view> radios{"Classic", "Low Energy", "Both"};
    static const std::vector<std::string_view> addresses{"Public", "Random static", "Private"};
    const auto byRank = [](const std::vector<std::string_view>& order) {
        return [&order](const TFilterValueCount& a, const TFilterValueCount& b) {
            return FixedRank(order, a.value) < FixedRank(order, b.value);
        };
    };
    if (kind == fkRadio) std::stable_sort(values.begin(), values.end(), byRank(radios));
    if (kind == fkAddress) std::stable_sort(values.begin(), values.end(), byRank(addresses));
    if (kind == fkMaker)
        std::stable_sort(values.begin(), values.end(),
                         [](const TFilterValueCount& a, const TFilterValueCount& b) {
                             return CompareTextIgnoringCase(a.value, b.value) < 0;
                         });
}

}  // namespace

std::vector<TFilterValueCount> CountFilterValues(TDeviceList& list, TFilterKind kind, bool hideInactive,
                                                 const TVendorRegistry& vendors) {
    TValueCounter counter;
    const TDeviceListLock lock(list);
    const std::int32_t now = list.Clock().Now();
    for (int index = 0; index < list.Count(); ++index) {
        TBTDevice& device = list.Items(index);
        if (hideInactive && !device.IsActive()) continue;
        CountDevice(device, kind, now, vendors, counter);
    }
    std::vector<TFilterValueCount> values = counter.Take();
    SortValues(kind, values);
    return values;
}

}  // namespace qm
