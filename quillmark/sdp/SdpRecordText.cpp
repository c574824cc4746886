#include "quillmark/sdp/SdpRecordText.h"

#include "quillmark/base/Error.h"
#include "quillmark/sdp/SdpAttributeEnumerator.h"
#include "quillmark/sdp/SdpElementReader.h"
#include "quillmark/sdp/SdpElementText.h"
#include "quillmark/sdp/SdpNames.h"

namespace qm {

namespace {

// A listing is a few times longer than the record; reserving once avoids most regrowth.
constexpr std::size_t kListingBytesPerRecordByte = 3;

// Our parser reports malformed bytes as this error number, the "last system error" of a failed
// parse, so the messages are the same on every run.
[[noreturn]] void ThrowParseError(const char* sentence) {
    throw TError::WithSystemError(sentence, kSdpMalformed);
}

// Appends one "name = value" line per attribute; the text being built is the context.
bool AppendAttributeLine(std::uint16_t attributeId, std::string_view value, void* context) {
    auto& text = *static_cast<std::string*>(context);
    TSdpElement element;
    if (SdpGetElementData(value, element) != 0) ThrowParseError("Error reading SDP element data.");
    AppendSDPAttributeName(text, attributeId);
    text += " = ";
    SDPElementText(text, element);
    text += '\n';
    return true;
}

}  // namespace

std::string SDPRecordText(std::string_view record) {
    std::string text;
    text.reserve(record.size() * kListingBytesPerRecordByte);
    if (!SdpEnumAttributes(record, AppendAttributeLine, &text))
        ThrowParseError("Unable to enumerate SDP attributes.");
    return text;
}

std::string SDPAttributeText(std::string_view record, std::uint16_t attributeId) {
    std::string text;
    TSdpElement element;
    if (SdpGetAttributeValue(record, attributeId, element) == 0) SDPElementText(text, element);
    return text;
}

}  // namespace qm
