#pragma once
// The saved fields of device records, copied out of the device list so that the session text can
// be made after the list's lock is released.

#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/core/BTDevice.h"
#include "quillmark/core/DeviceList.h"

namespace qm {

struct TDeviceFields {
    std::string name;
    std::string address;
    TDeviceType type = dtOther;
    std::int32_t majorClass = 0;
    std::int32_t minorClass = 0;
    std::int32_t firstSeen = 0;
    std::int32_t lastSeen = 0;
    std::int32_t seenCount = 0;
    std::int32_t flags = 0;
    std::string rawSDPStream;
    std::vector<std::string> rawSDPRecords;
    std::string location;
};

// Every record's fields, in list order, into `fields`, whose texts keep their memory where it is
// large enough, so that a copy into the same vector again allocates next to nothing. The caller
// holds the list's lock.
void CopyDeviceFields(const TDeviceList& list, std::vector<TDeviceFields>& fields);

}  // namespace qm
