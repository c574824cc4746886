// Decodes arbitrary bytes as a run of variable-length integers and checks each against the
// encoder. The input is copied into a buffer with ten zero bytes of headroom, so a truncated last
// integer ends inside the buffer: the reader itself trusts the caller for bounds.

#include <zemautils/netcodec.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::size_t kMaxEncodedBytes = 10;

void Require(bool condition) {
    if (!condition) std::abort();
}

// The value read from `consumed` bytes at `start` must match what the encoder makes of it.
void CheckDecoded(const std::uint8_t* start, std::size_t consumed, std::uint64_t value) {
    Require(consumed >= 1 && consumed <= kMaxEncodedBytes);
    const bool overlong = consumed == kMaxEncodedBytes && (start[consumed - 1] & 0x80) != 0;
    if (overlong) {
        Require(value == 0);
        return;
    }
    std::uint8_t encoded[kMaxEncodedBytes];
    std::uint8_t* writer = encoded;
    NetWritVarUInt(&writer, value);
    const auto length = static_cast<std::size_t>(writer - encoded);
    Require(length >= 1 && length <= consumed);
    std::uint8_t* reader = encoded;
    Require(NetReadVarUInt(&reader) == value && reader == writer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> buffer(data, data + size);
    buffer.resize(size + kMaxEncodedBytes, 0);
    std::uint8_t* cursor = buffer.data();
    const std::uint8_t* end = buffer.data() + size;
    while (cursor < end) {
        const std::uint8_t* start = cursor;
        const std::uint64_t value = NetReadVarUInt(&cursor);
        CheckDecoded(start, static_cast<std::size_t>(cursor - start), value);
    }
    return 0;
}
