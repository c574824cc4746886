#pragma once
// The records of the kernel's radio kill switch device /dev/rfkill (include/uapi/linux/rfkill.h),
// written here so that nothing beyond the C library is needed. Newer kernels append fields to the
// record; a read of the first record size takes just these, the rest of that record is dropped.

#include <cstdint>

namespace qm::bt::kernel {

inline constexpr std::uint8_t kRfkillTypeBluetooth = 2;

inline constexpr std::uint8_t kRfkillOpAdd = 0;
inline constexpr std::uint8_t kRfkillOpDelete = 1;
inline constexpr std::uint8_t kRfkillOpChange = 2;
inline constexpr std::uint8_t kRfkillOpChangeAll = 3;

struct TRfkillEvent {
    std::uint32_t index;
    std::uint8_t type;
    std::uint8_t op;
    std::uint8_t soft;
    std::uint8_t hard;
};
static_assert(sizeof(TRfkillEvent) == 8);

}  // namespace qm::bt::kernel
