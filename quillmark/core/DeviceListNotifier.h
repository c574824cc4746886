#pragma once
// What the device list tells the user interface: some record changed and the views should be
// repainted. The main window implements it by posting its list-changed message; it must return
// at once and may be called from any thread, with or without the list's lock held.

namespace qm {

class IDeviceListNotifier {
public:
    virtual ~IDeviceListNotifier() = default;
    virtual void DeviceDataChanged() = 0;
};

}  // namespace qm
