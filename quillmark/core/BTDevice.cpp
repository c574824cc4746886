#include "quillmark/core/BTDevice.h"

#include <algorithm>

#include "quillmark/core/DeviceList.h"
#include "quillmark/sdp/SdpRecordText.h"

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
    return DeviceFlagsText(FFlags, !FRawSDPRecords.empty() || !FRawSDPStream.empty());
}

std::string TBTDevice::SDPText() const {
    return DeviceSDPText(FRawSDPRecords, FRawSDPStream);
}

// Rebuilt only when the number of records differs from the last rebuild. A record that carries
// only the older single stream gets that stream as its first record.
const std::vector<std::string>& TBTDevice::Services() {
    if (static_cast<std::int64_t>(FRawSDPRecords.size()) == FServicesRecordCount) return FServices;
    if (FRawSDPRecords.empty() && !FRawSDPStream.empty()) FRawSDPRecords.push_back(FRawSDPStream);
    FServices = DeviceServiceNames(FRawSDPRecords, FRawSDPStream);
    FServicesRecordCount = static_cast<std::int64_t>(FRawSDPRecords.size());
    return FServices;
}

bool TBTDevice::IsActive() const {
    return static_cast<std::int64_t>(FList->Clock().Now()) <=
           static_cast<std::int64_t>(FLastSeen) + kActiveSeconds;
}

std::string DeviceFlagsText(std::int32_t flags, bool hasSdp) {
    std::string text;
    if (flags & kFlagPaired) AppendItem(text, "Paired");
    if (flags & kFlagPersonal) AppendItem(text, "Personal");
    if (flags & kFlagConnected) AppendItem(text, "Connected");
    if (hasSdp) AppendItem(text, "SDP");
    return text;
}

std::string DeviceSDPText(const std::vector<std::string>& records, const std::string& stream) {
    if (!records.empty()) {
        std::string text;
        for (const std::string& record : records) text += SDPRecordText(record);
        std::replace(text.begin(), text.end(), '\0', ' ');
        return text;
    }
    if (!stream.empty()) return SDPRecordText(stream);
    return "No SDP information available.";
}

// A record that carries only the older single stream has that stream as its one record.
std::vector<std::string> DeviceServiceNames(const std::vector<std::string>& records,
                                            const std::string& stream) {
    std::vector<std::string> names;
    if (records.empty() && !stream.empty()) names.push_back(ServiceName(stream));
    for (const std::string& record : records) names.push_back(ServiceName(record));
    return names;
}

}  // namespace qm
