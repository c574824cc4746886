#include "quillmark/sdp/SdpElementText.h"

#include <charconv>
#include <cstdio>

#include "quillmark/base/Error.h"
#include "quillmark/sdp/SdpElementReader.h"
#include "quillmark/sdp/SdpNames.h"
#include "quillmark/sdp/SdpTextString.h"

namespace qm {

namespace {

template <typename Integer>
void AppendDecimal(std::string& text, Integer value) {
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendUnsigned(std::string& text, const TSdpElement& element) {
    switch (element.specificType) {
        case kSdpStUInt8:
        case kSdpStUInt16:
        case kSdpStUInt32:
            AppendDecimal(text, element.unsignedValue);
            break;
        case kSdpStUInt64:
            text += "UINT64";
            break;
        case kSdpStUInt128:
            text += "UINT128";
            break;
        default:
            break;
    }
}

void AppendSigned(std::string& text, const TSdpElement& element) {
    switch (element.specificType) {
        case kSdpStInt8:
        case kSdpStInt16:
        case kSdpStInt32:
            AppendDecimal(text, element.signedValue);
            break;
        case kSdpStInt64:
            text += "SDP_ST_INT64";
            break;
        case kSdpStInt128:
            text += "INT128";
            break;
        default:
            break;
    }
}

void AppendUuid(std::string& text, const TSdpElement& element) {
    switch (element.specificType) {
        case kSdpStUuid16:
        case kSdpStUuid32:
            AppendSDPUUIDName(text, SdpUuidFromShort(static_cast<std::uint32_t>(element.unsignedValue)));
            break;
        case kSdpStUuid128:
            AppendSDPUUIDName(text, element.uuid);
            break;
        default:
            break;
    }
}

void AppendUnknownType(std::string& text, const TSdpElement& element) {
    char buffer[64];
    const int length =
        std::snprintf(buffer, sizeof buffer, "Unknown SDP type (%d, %d)", element.type, element.specificType);
    text.append(buffer, static_cast<std::size_t>(length));
}

[[noreturn]] void ThrowContainerError(int result) {
    throw TError("Error while processing SDP container: " + std::to_string(result));
}

void ContainerText(std::string& text, std::string_view contents, int depth);

// depth: the number of sequences and alternatives around the element.
void ElementText(std::string& text, const TSdpElement& element, int depth) {
    switch (element.type) {
        case kSdpTypeNil:
            text += "nil";
            break;
        case kSdpTypeUInt:
            AppendUnsigned(text, element);
            break;
        case kSdpTypeInt:
            AppendSigned(text, element);
            break;
        case kSdpTypeUuid:
            AppendUuid(text, element);
            break;
        case kSdpTypeString:
            AppendSdpTextString(text, element.bytes);
            break;
        case kSdpTypeBoolean:
            text += element.boolean ? "true" : "false";
            break;
        case kSdpTypeSequence:
            text += '[';
            ContainerText(text, element.bytes, depth + 1);
            text += ']';
            break;
        case kSdpTypeAlternative:
            text += "alternative[";
            ContainerText(text, element.bytes, depth + 1);
            text += ']';
            break;
        case kSdpTypeUrl:
            text += element.bytes;
            break;
        case kSdpTypeContainer:
            text += "container";
            break;
        default:
            AppendUnknownType(text, element);
            break;
    }
}

// Nesting is capped so that hostile input cannot exhaust the stack.
void ContainerText(std::string& text, std::string_view contents, int depth) {
    if (depth > kSdpMaxNesting) ThrowContainerError(kSdpMalformed);
    TSdpContainerReader reader(contents);
    TSdpElement element;
    bool first = true;
    for (int result = reader.Next(element); result != kSdpNoMoreItems; result = reader.Next(element)) {
        if (result != 0) ThrowContainerError(result);
        if (!first) text += ", ";
        first = false;
        ElementText(text, element, depth);
    }
}

}  // namespace

void SDPElementText(std::string& text, const TSdpElement& element) {
    ElementText(text, element, 0);
}

void SDPContainerText(std::string& text, std::string_view contents) {
    ContainerText(text, contents, 1);
}

}  // namespace qm
