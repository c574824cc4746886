#include <array>
#include <charconv>

#include "quillmark/sdp/SdpNames.h"

namespace qm {

namespace {

constexpr std::array<const char*, 14> kUniversalAttributes = {
    "ServiceRecordHandle",
    "ServiceClassIDList",
    "ServiceRecordState",
    "ServiceID",
    "ProtocolDescriptorList",
    "BrowseGroupList",
    "LanguageBaseAttributeIDList",
    "ServiceInfoTimeToLive",
    "ServiceAvailability",
    "BluetoothProfileDescriptorList",
    "DocumentationURL",
    "ClientExecutableURL",
    "IconURL",
    "AdditionalProtocolDescriptorLists",
};

}  // namespace

void AppendSDPAttributeName(std::string& text, std::uint32_t attributeId) {
    if (attributeId < kUniversalAttributes.size()) {
        text += kUniversalAttributes[attributeId];
        return;
    }
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, attributeId).ptr;
    text += "Unknown (";
    text.append(digits, end);
    text += ')';
}

std::string SDPAttributeName(std::uint32_t attributeId) {
    std::string text;
    AppendSDPAttributeName(text, attributeId);
    return text;
}

}  // namespace qm
