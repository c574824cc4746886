#pragma once
// The order of the device view's rows by one column: Name and Location by a locale-aware
// comparison in which letter case counts, First Seen/LastSeen by LastSeen, Type/Flags by the major
// class, then the minor class, Signal by the latest signal strength in dBm (devices without one
// first). The sort is stable: rows with equal keys keep their order, in both directions.

#include <Qt>
#include <string>
#include <vector>

#include "quillmark/ui/CollationRanks.h"

namespace qm {
class TDeviceList;
}

namespace qm::ui {

// Sorts the address rows by the column (TDeviceColumn) in the direction; any other column leaves
// them as they are. Takes the list's lock; each device is looked up once by its address and gives
// one integer key, so the sort costs one lookup per row, not two per comparison. A row whose
// device is missing gets the smallest key. Names and locations take their keys from the cache.
void SortDeviceRows(qm::TDeviceList& list, std::vector<std::string>& rows, int column, Qt::SortOrder order,
                    TCollationRanks& collation);

}  // namespace qm::ui
