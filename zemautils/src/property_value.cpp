// SPropValue: a tag and a value that owns a private copy of the data behind rssi, text, MAC
// address and binary values. Allocation failures never raise: the copy then holds no data (a NULL
// pointer and a count of 0). Blocks come from the library's allocator and go back with free.

#include <zemautils/property.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "allocation.h"
#include "property_value_internal.h"

namespace {

constexpr std::size_t kRssiBlockSize = PROP_RSSI_MAX_ENTRIES * PROP_RSSI_ENTRY_SIZE;

const char* CopyText(const char* text) {
    if (text == nullptr) return nullptr;
    const std::size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(zema::Allocate(size));
    if (copy != nullptr) std::memcpy(copy, text, size);
    return copy;
}

const TMacAddrStruct* CopyMacAddress(const TMacAddrStruct* address) {
    if (address == nullptr) return nullptr;
    auto* copy = static_cast<TMacAddrStruct*>(zema::Allocate(sizeof(TMacAddrStruct)));
    if (copy != nullptr) *copy = *address;
    return copy;
}

SBinary CopyBinary(const SBinary& source) {
    if (source.cb == 0 || source.lpb == nullptr) return SBinary{0, nullptr};
    auto* copy = static_cast<uint8_t*>(zema::Allocate(source.cb));
    if (copy == nullptr) return SBinary{0, nullptr};
    std::memcpy(copy, source.lpb, source.cb);
    return SBinary{source.cb, copy};
}

// The copy is always a full block of the maximum number of entries; a source claiming more keeps
// only as many as fit.
SRssiArray CopyRssi(const SRssiArray& source) {
    auto* block = static_cast<uint8_t*>(zema::Allocate(kRssiBlockSize));
    if (block == nullptr) return SRssiArray{0, nullptr};
    std::memset(block, 0, kRssiBlockSize);
    const uint32_t entries =
        source.lpEntries == nullptr ? 0 : std::min<uint32_t>(source.cValues, PROP_RSSI_MAX_ENTRIES);
    if (entries > 0) std::memcpy(block, source.lpEntries, entries * std::size_t{PROP_RSSI_ENTRY_SIZE});
    return SRssiArray{entries, block};
}

_PV CopyOwnedData(uint32_t tag, const _PV& source) {
    _PV copy = source;
    switch (PROP_TYPE(tag)) {
        case PT_RSSI:
            copy.rssi = CopyRssi(source.rssi);
            break;
        case PT_STRING8:
            copy.lpszA = CopyText(source.lpszA);
            break;
        case PT_MAC_ADDRESS:
            copy.lpMac = CopyMacAddress(source.lpMac);
            break;
        case PT_BINARY:
            copy.bin = CopyBinary(source.bin);
            break;
        default:
            break;
    }
    return copy;
}

void Release(const void* owned) {
    std::free(const_cast<void*>(owned));
}

void ReleaseOwnedData(uint32_t tag, const _PV& value) {
    switch (PROP_TYPE(tag)) {
        case PT_RSSI:
            Release(value.rssi.lpEntries);
            break;
        case PT_STRING8:
            Release(value.lpszA);
            break;
        case PT_MAC_ADDRESS:
            Release(value.lpMac);
            break;
        case PT_BINARY:
            Release(value.bin.lpb);
            break;
        default:
            break;
    }
}

}  // namespace

namespace zema {

_PV ZeroPropertyValue() {
    _PV value;
    std::memset(&value, 0, sizeof value);
    return value;
}

}  // namespace zema

SPropValue::SPropValue() : FTag(0), FValue(zema::ZeroPropertyValue()) {}

SPropValue::SPropValue(uint32_t tag, const _PV& value) : FTag(tag), FValue(CopyOwnedData(tag, value)) {}

SPropValue::SPropValue(const SPropValue& other)
    : FTag(other.FTag), FValue(CopyOwnedData(other.FTag, other.FValue)) {}

// The copy is made before the old data is released, so assigning a property to itself (or to a
// property whose data it shares) never reads freed memory.
SPropValue& SPropValue::operator=(const SPropValue& other) {
    if (this == &other) return *this;
    const _PV copy = CopyOwnedData(other.FTag, other.FValue);
    ReleaseOwnedData(FTag, FValue);
    FTag = other.FTag;
    FValue = copy;
    return *this;
}

SPropValue::~SPropValue() {
    ReleaseOwnedData(FTag, FValue);
}

uint32_t SPropValue::GetTag() const {
    return FTag;
}

_PV SPropValue::GetValue() const {
    return FValue;
}
