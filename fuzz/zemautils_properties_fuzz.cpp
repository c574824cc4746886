// Property buffers from arbitrary bytes: parsing never reads past the input, never crashes or
// leaks, and whatever it accepts writes back with OutputToBuffer and reads back unchanged.

#include <zemautils/property.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Parsed {
    uint32_t count = 0;
    std::unique_ptr<SPropValue[]> properties;
};

Parsed Parse(const uint8_t* data, std::size_t size) {
    Parsed parsed;
    SPropValue* array = nullptr;
    ParseToProperties(static_cast<uint32_t>(size), data, &parsed.count, &array);
    parsed.properties.reset(array);
    return parsed;
}

// The properties that were read (default elements, tag 0, stand for those that were not).
std::vector<SPropValue> Stored(const Parsed& parsed) {
    std::vector<SPropValue> stored;
    for (uint32_t i = 0; i < parsed.count; ++i) {
        if (parsed.properties[i].GetTag() != 0) stored.push_back(parsed.properties[i]);
    }
    return stored;
}

bool SameValue(const SPropValue& a, const SPropValue& b) {
    if (a.GetTag() != b.GetTag()) return false;
    const _PV x = a.GetValue();
    const _PV y = b.GetValue();
    switch (PROP_TYPE(a.GetTag())) {
        case PT_FLOAT:
            return x.flt == y.flt;
        case PT_STRING8:
            return std::strcmp(x.lpszA, y.lpszA) == 0;
        case PT_BINARY:
            return x.bin.cb == y.bin.cb &&
                   (x.bin.cb == 0 || std::memcmp(x.bin.lpb, y.bin.lpb, x.bin.cb) == 0);
        default:
            return x.ul == y.ul;
    }
}

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const Parsed first = Parse(data, size);
    const std::vector<SPropValue> stored = Stored(first);

    // A text read without its terminator gains one byte when written; twice the input is room.
    std::vector<uint8_t> buffer(2 * size + 16);
    uint32_t written = static_cast<uint32_t>(buffer.size());
    OutputToBuffer(static_cast<uint32_t>(stored.size()), stored.data(), &written, buffer.data());
    Require(written >= 1 && buffer[0] == stored.size());

    const Parsed second = Parse(buffer.data(), written);
    Require(second.count == stored.size());
    for (uint32_t i = 0; i < second.count; ++i) Require(SameValue(stored[i], second.properties[i]));
    return 0;
}
