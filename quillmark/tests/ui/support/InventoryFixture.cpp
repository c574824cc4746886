#include "support/InventoryFixture.h"

#include "quillmark/core/DeviceListLock.h"

namespace uitest {

std::string ServiceRecord(const std::string& name) {
    const std::string body = std::string("\x09\x00\x00\x0A\x00\x01\x00\x00", 8) +
                             std::string("\x09\x01\x00\x25", 4) + static_cast<char>(name.size()) + name;
    return std::string("\x35", 1) + static_cast<char>(body.size()) + body;
}

void TInventoryTest::AddDevice(const TDeviceFields& fields) {
    qm::TDeviceListLock lock(session_.DeviceList());
    qm::TBTDevice& device = lock->Add();
    device.SetAddress(fields.address);
    device.SetName(fields.name);
    device.SetLastSeen(fields.lastSeen);
    device.SetFirstSeen(fields.lastSeen - 3600);
    device.SetLocation(fields.location);
    device.SetMajorClass(fields.majorClass);
    device.SetMinorClass(fields.minorClass);
    device.SetSeenCount(fields.seenCount);
    device.SetFlags(fields.flags);
    device.SetSignal(fields.signal);
    device.Advertising() = fields.advertising;
    for (const std::string& service : fields.services)
        device.RawSDPRecords().push_back(ServiceRecord(service));
}

void TInventoryTest::AddDevices(const std::vector<TDeviceFields>& devices) {
    for (const TDeviceFields& fields : devices) AddDevice(fields);
}

void TInventoryTest::DeleteDevice(const std::string& address) {
    qm::TDeviceListLock lock(session_.DeviceList());
    if (const qm::TBTDevice* device = lock->FindDevice(address)) lock->Delete(device->Index());
}

}  // namespace uitest
