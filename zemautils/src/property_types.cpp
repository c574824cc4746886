// The names of the property value types, as shown to operators and written in rules.

#include <zemautils/property.h>

#include <algorithm>
#include <iterator>

namespace {

struct TypeName {
    uint32_t valueType;
    const char* name;
};

constexpr TypeName kTypeNames[] = {
    {PT_UNSPECIFIED, "Unspecified"},
    {PT_NULL, "null"},
    {PT_I2, "I2"},
    {PT_LONG, "long"},
    {PT_FLOAT, "float"},
    {PT_DOUBLE, "double"},
    {PT_ROGUE, "rogue"},
    {PT_SUBROGUE, "subrogue"},
    {PT_AUTH, "auth"},
    {PT_ENC, "enc"},
    {PT_STATION_TYPE, "type"},
    {PT_REASON_CODE, "reason code"},
    {PT_STATION_FLAG, "station flag"},
    {PT_NETWORK_PACKET_TYPE, "network packet type"},
    {PT_FRAME_TYPE, "frame type"},
    {PT_EAPOL_TYPE, "eapol type"},
    {PT_EAPOL_CODE, "eapol code"},
    {PT_EAP_TYPE, "eap type"},
    {PT_RSSI, "rssi"},
    {PT_TIMESTAMP, "timestamp"},
    {PT_AP_TIME, "ap time"},
    {PT_ERROR, "error"},
    {PT_BOOLEAN, "boolean"},
    {PT_I8, "I8"},
    {PT_STRING8, "string8"},
    {PT_MAC_ADDRESS, "MAC address"},
    {PT_SENSOR, "sensor"},
    {PT_SYS_TIME, "sys time"},
    {PT_BINARY, "binary"},
};

}  // namespace

extern "C" const char* ExpertVarTypeDisplayName(uint32_t valueType) {
    const auto* found = std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                                     [valueType](const TypeName& t) { return t.valueType == valueType; });
    return found == std::end(kTypeNames) ? "?" : found->name;
}
