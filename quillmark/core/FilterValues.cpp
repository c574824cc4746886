#include "quillmark/core/FilterValues.h"

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

void CountDevice(TBTDevice& device, TFilterKind kind, std::int32_t now, TValueCounter& counter) {
    switch (kind) {
        case fkLocation:
            counter.Count(device.Location());
            break;
        case fkType:
            counter.Count(DeviceClassName(device.MajorClass(), device.MinorClass()));
            break;
        case fkLastSeen:
            counter.Count(LastSeenBucket(device.LastSeen(), now));
            break;
        case fkServices:
            for (const std::string& service : device.Services()) counter.Count(service);
            break;
        default:
            break;
    }
}

}  // namespace

std::vector<TFilterValueCount> CountFilterValues(TDeviceList& list, TFilterKind kind, bool hideInactive) {
    TValueCounter counter;
    const TDeviceListLock lock(list);
    const std::int32_t now = list.Clock().Now();
    for (int index = 0; index < list.Count(); ++index) {
        TBTDevice& device = list.Items(index);
        if (hideInactive && !device.IsActive()) continue;
        CountDevice(device, kind, now, counter);
    }
    return counter.Take();
}

}  // namespace qm
