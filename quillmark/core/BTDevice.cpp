#include "quillmark/core/BTDevice.h"

#include <algorithm>

#include "quillmark/sdp/SdpRecordText.h"
#include "quillmark/core/DeviceList.h"

namespace qm {

namespace {

// The attribute that holds a record's service name at the primary language base.
constexpr std::uint16_t kServiceNameAttribute = 0x0100;

void AppendItem(std::string& text, const char* item) {
    if (!text.empty()) text += ", ";
    text += item;
}

std::string ServiceName(std::string_view record) {
    std::string name = SDPAttributeText(record, kServiceNameAttribute);
    return name.empty() ? "Unknown" : name;
}

}  // namespace

TBTDevice::TBTDevice(TListKey, TDeviceList& list, int index, std::int32_t now)
    : FList(&list), FIndex(index), FFirstSeen(now) {}

void TBTDevice::SetAddress(std::string address) {
    FList->UnindexAddress(*this);
    FAddress = std::move(address);
    FList->IndexAddress(*this);
}

void TBTDevice::SetMajorClass(std::int32_t value) {
    if (value == FMajorClass) return;
    FMajorClass = value;
    FMinorClass = 0;
    FType = DeviceTypeOfClass(FMajorClass, FMinorClass);
}

void TBTDevice::SetMinorClass(std::int32_t value) {
    if (value == FMinorClass) return;
    FMinorClass = value;
    FType = DeviceTypeOfClass(FMajorClass, FMinorClass);
}

std::string TBTDevice::FlagsText() const {
    std::string text;
    if (FFlags & kFlagPaired) AppendItem(text, "Paired");
    if (FFlags & kFlagPersonal) AppendItem(text, "Personal");
    if (FFlags & kFlagConnected) AppendItem(text, "Connected");
    if (!FRawSDPRecords.empty() || !FRawSDPStream.empty()) AppendItem(text, "SDP");
    return text;
}

std::string TBTDevice::SDPText() const {
    if (!FRawSDPRecords.empty()) {
        std::string text;
        for (const std::string& record : FRawSDPRecords) text += SDPRecordText(record);
        std::replace(text.begin(), text.end(), '\0', ' ');
        return text;
    }
    if (!FRawSDPStream.empty()) return SDPRecordText(FRawSDPStream);
    return "No SDP information available.";
}

// Rebuilt only when the number of records differs from the last rebuild. A record that carries
// only the older single stream gets that stream as its first record.
const std::vector<std::string>& TBTDevice::Services() {
    if (static_cast<std::int64_t>(FRawSDPRecords.size()) == FServicesRecordCount) return FServices;
    FServices.clear();
    if (FRawSDPRecords.empty() && !FRawSDPStream.empty()) FRawSDPRecords.push_back(FRawSDPStream);
    for (const std::string& record : FRawSDPRecords) FServices.push_back(ServiceName(record));
    FServicesRecordCount = static_cast<std::int64_t>(FRawSDPRecords.size());
    return FServices;
}

bool TBTDevice::IsActive() const {
    return static_cast<std::int64_t>(FList->Clock().Now()) <=
           static_cast<std::int64_t>(FLastSeen) + kActiveSeconds;
}

}  // namespace qm
