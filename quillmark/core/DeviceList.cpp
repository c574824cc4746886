#include "quillmark/core/DeviceList.h"

#include <algorithm>

#include "quillmark/base/Error.h"
#include "quillmark/core/Trace.h"

namespace qm {

TDeviceList::TDeviceList(const IClock& clock) : FClock(clock) {}

TDeviceList::~TDeviceList() = default;

void TDeviceList::LockList() {
    QM_TRACE("TDeviceList::LockList", 210, "TDeviceList::LockList");
    FLock.lock();
}

void TDeviceList::UnlockList() {
    FLock.unlock();
    QM_TRACE("TDeviceList::UnlockList", 210, "TDeviceList::UnlockList");
}

TBTDevice* TDeviceList::FindDevice(std::string_view address) const {
    const auto found = FByAddress.find(address);
    return found == FByAddress.end() ? nullptr : found->second.front();
}

void TDeviceList::NotifyChanged() const {
    if (IDeviceListNotifier* notifier = FNotifier.load()) notifier->DeviceDataChanged();
}

TBTDevice& TDeviceList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw TError("List index out of bounds (" + std::to_string(index) + ")");
    return *FRecords[static_cast<std::size_t>(index)];
}

TBTDevice& TDeviceList::Add() {
    auto record = std::make_unique<TBTDevice>(TBTDevice::TListKey{}, *this, Count(), FClock.Now());
    FRecords.push_back(std::move(record));
    IndexAddress(*FRecords.back());
    return *FRecords.back();
}

void TDeviceList::Delete(int index) {
    const TBTDevice& record = Items(index);
    UnindexAddress(record);
    FRecords.erase(FRecords.begin() + index);
    for (std::size_t i = static_cast<std::size_t>(index); i < FRecords.size(); ++i)
        FRecords[i]->FIndex = static_cast<int>(i);
}

void TDeviceList::Clear() {
    FByAddress.clear();
    FRecords.clear();
}

namespace {

bool IndexBefore(const TBTDevice* record, int index) {
    return record->Index() < index;
}

}  // namespace

// Records with one address stay in index order, so the first of them is the one FindDevice gives.
// Every new record starts without an address, and a session may hold many that keep none: both
// the insertion and the removal find their place by the index in logarithmic time, and a record
// added last and given its address at once leaves from the end of the records sharing "".
void TDeviceList::IndexAddress(TBTDevice& record) {
    auto& sharing = FByAddress[record.FAddress];
    sharing.insert(std::lower_bound(sharing.begin(), sharing.end(), record.FIndex, IndexBefore), &record);
}

void TDeviceList::UnindexAddress(const TBTDevice& record) {
    const auto found = FByAddress.find(record.FAddress);
    if (found == FByAddress.end()) return;
    auto& sharing = found->second;
    const auto position = std::lower_bound(sharing.begin(), sharing.end(), record.FIndex, IndexBefore);
    if (position != sharing.end() && *position == &record) sharing.erase(position);
    if (sharing.empty()) FByAddress.erase(found);
}

}  // namespace qm
