#pragma once
// Holds the device list's lock for a scope and releases it on every path out of it.
//
//   TDeviceListLock lock(SessionState->DeviceList());
//   if (TBTDevice* device = lock->FindDevice(address)) ...

#include "quillmark/core/DeviceList.h"

namespace qm {

class TDeviceListLock {
public:
    explicit TDeviceListLock(TDeviceList& list) : FList(list) { FList.LockList(); }
    ~TDeviceListLock() { FList.UnlockList(); }
    TDeviceListLock(const TDeviceListLock&) = delete;
    TDeviceListLock& operator=(const TDeviceListLock&) = delete;

    TDeviceList& operator*() const { return FList; }
    TDeviceList* operator->() const { return &FList; }

private:
    TDeviceList& FList;
};

}  // namespace qm
