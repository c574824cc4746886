#include "quillmark/core/DeviceFields.h"

namespace qm {

namespace {

void CopyFields(const TBTDevice& device, TDeviceFields& fields) {
    fields.name = device.Name();
    fields.address = device.Address();
    fields.type = device.Type();
    fields.majorClass = device.MajorClass();
    fields.minorClass = device.MinorClass();
    fields.firstSeen = device.FirstSeen();
    fields.lastSeen = device.LastSeen();
    fields.seenCount = device.SeenCount();
    fields.flags = device.Flags();
    fields.rawSDPStream = device.RawSDPStream();
    fields.rawSDPRecords = device.RawSDPRecords();
    fields.location = device.Location();
}

}  // namespace

void CopyDeviceFields(const TDeviceList& list, std::vector<TDeviceFields>& fields) {
    fields.resize(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) CopyFields(list.Items(i), fields[static_cast<std::size_t>(i)]);
}

}  // namespace qm
