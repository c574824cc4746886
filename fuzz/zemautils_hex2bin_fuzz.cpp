// Hex2Bin on arbitrary text: the first byte chooses how many bytes to produce, the rest is the
// text. Exactly that many bytes must be written (guard bytes around the output stay untouched),
// and reading must stop at the text's terminator.

#include <zemautils/utils.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr std::size_t kGuard = 8;
    constexpr std::uint8_t kGuardByte = 0xA5;
    const std::uint32_t count = data[0];
    // The text in a heap block of its exact size, so a read past the terminator is caught.
    std::vector<char> text(data + 1, data + size);
    text.push_back('\0');
    text.shrink_to_fit();
    std::vector<std::uint8_t> out(count + 2 * kGuard, kGuardByte);
    Hex2Bin(text.data(), out.data() + kGuard, count);
    for (std::size_t i = 0; i < kGuard; ++i)
        if (out[i] != kGuardByte || out[kGuard + count + i] != kGuardByte) std::abort();
    return 0;
}
