#pragma once
// Loads and stores of HCI (little-endian) and SDP (big-endian) integers on byte buffers, and
// appending a run of bytes to a buffer.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace qm::bt {

inline std::uint16_t LoadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t LoadLe24(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16;
}
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
    return LoadLe24(p) | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint16_t LoadBe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
inline std::uint32_t LoadBe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

inline void AppendBytes(std::vector<std::uint8_t>& out, const void* bytes, std::size_t count) {
    if (count == 0) return;
    const std::size_t at = out.size();
    out.resize(at + count);
    std::memcpy(out.data() + at, bytes, count);
}
inline void AppendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    AppendBytes(out, bytes.data(), bytes.size());
}
inline void AppendBytes(std::vector<std::uint8_t>& out, std::string_view bytes) {
    AppendBytes(out, bytes.data(), bytes.size());
}

inline void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void AppendLe24(std::vector<std::uint8_t>& out, std::uint32_t v) {
    AppendLe16(out, static_cast<std::uint16_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
}
inline void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    AppendLe16(out, static_cast<std::uint16_t>(v));
    AppendLe16(out, static_cast<std::uint16_t>(v >> 16));
}
inline void AppendBe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
inline void AppendBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    AppendBe16(out, static_cast<std::uint16_t>(v >> 16));
    AppendBe16(out, static_cast<std::uint16_t>(v));
}

}  // namespace qm::bt
