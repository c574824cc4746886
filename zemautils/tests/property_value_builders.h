#pragma once
// Property values of each kind for the tests, built from public headers only so the programs that
// link the shared library alone can use them too. Every byte not set by a builder is zero.

#include <zemautils/property.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace zematest {

inline _PV Zero() {
    _PV value;
    std::memset(&value, 0, sizeof value);
    return value;
}

inline _PV Word(uint32_t word) {
    _PV value = Zero();
    value.ul = word;
    return value;
}

inline _PV Float(float number) {
    _PV value = Zero();
    value.flt = number;
    return value;
}

// The value points at text, which must outlive it.
inline _PV Text(const char* text) {
    _PV value = Zero();
    value.lpszA = text;
    return value;
}

// The value points into bytes, which must outlive it.
inline _PV Block(const std::vector<uint8_t>& bytes) {
    _PV value = Zero();
    value.bin = SBinary{static_cast<uint32_t>(bytes.size()), bytes.data()};
    return value;
}

}  // namespace zematest
