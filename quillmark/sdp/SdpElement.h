#pragma once
// One parsed SDP data element, described by a type number and a specific-type number (the size
// class of integers and UUIDs). The numbers are those the record text distinguishes; note that a
// 32-bit UUID and a 32-bit signed integer share the specific type 0x220 and differ by type. The
// reserved type descriptors 9 to 31 are kept as type numbers of their own, with no specific type.

#include <cstdint>
#include <string_view>

#include "quillmark/sdp/SdpUuid.h"

namespace qm {

inline constexpr int kSdpTypeNil = 0;
inline constexpr int kSdpTypeUInt = 1;
inline constexpr int kSdpTypeInt = 2;
inline constexpr int kSdpTypeUuid = 3;
inline constexpr int kSdpTypeString = 4;
inline constexpr int kSdpTypeBoolean = 5;
inline constexpr int kSdpTypeSequence = 6;
inline constexpr int kSdpTypeAlternative = 7;
inline constexpr int kSdpTypeUrl = 8;
inline constexpr int kSdpTypeContainer = 0x20;

inline constexpr int kSdpStNone = 0;
inline constexpr int kSdpStUInt8 = 0x10;
inline constexpr int kSdpStUInt16 = 0x110;
inline constexpr int kSdpStUInt32 = 0x210;
inline constexpr int kSdpStUInt64 = 0x310;
inline constexpr int kSdpStUInt128 = 0x410;
inline constexpr int kSdpStInt8 = 0x20;
inline constexpr int kSdpStInt16 = 0x120;
inline constexpr int kSdpStInt32 = 0x220;
inline constexpr int kSdpStInt64 = 0x320;
inline constexpr int kSdpStInt128 = 0x420;
inline constexpr int kSdpStUuid16 = 0x130;
inline constexpr int kSdpStUuid32 = 0x220;
inline constexpr int kSdpStUuid128 = 0x430;

// The views point into the bytes that were parsed and are valid only as long as those.
struct TSdpElement {
    int type = kSdpTypeNil;
    int specificType = kSdpStNone;
    std::uint64_t unsignedValue = 0;  // unsigned integers up to 64 bits; 16- and 32-bit UUIDs
    std::int64_t signedValue = 0;     // signed integers up to 64 bits
    bool boolean = false;
    TSdpUuid uuid{};         // 128-bit UUIDs
    std::string_view bytes;  // text, URL, 128-bit integers, the contents of a sequence or alternative,
                             // the data of a reserved type
};

}  // namespace qm
