#pragma once
// The value nodes of the filter tree: for one category, each distinct value of the counted devices
// with its number of occurrences, in the order of first appearance. Values that differ only in
// letter case (compared by their upper-case forms) share one entry, which keeps the spelling met
// first. Radio and Address values come in their fixed order ("Classic", "Low Energy", "Both";
// "Public", "Random static", "Private"), makers alphabetically.

#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/core/DeviceFilter.h"
#include "quillmark/core/DeviceList.h"

namespace qm {

struct TFilterValueCount {
    std::string value;
    std::int32_t count = 0;
};

// Walks the list under its lock. Counted are all devices, or only the active ones when
// hideInactive; a device gives one value (DeviceFilterText) or, for fkServices, one per entry of
// its services and one for the tracker it announced. fkNone gives nothing.
std::vector<TFilterValueCount> CountFilterValues(TDeviceList& list, TFilterKind kind, bool hideInactive,
                                                 const TVendorRegistry& vendors = SystemVendorRegistry());

}  // namespace qm
