// 32-bit random values from the kernel's cryptographic source (getrandom, which needs no handle
// and serves every thread). Should the source fail, the value comes from rand() and the failure is
// traced; the next call asks the source again.

#include <zemautils/random.h>
#include <zemautils/trace.h>

#include <sys/random.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "random_internal.h"
#include "service_trace.h"

namespace {

// The fallback keeps the 15-bit range that callers of this library were promised (0-32767), which
// is narrower than the C library's RAND_MAX here.
constexpr int kFallbackMaximum = 32767;

std::atomic<zema::RandomSource> g_source{&getrandom};

bool ReadSource(void* buffer, std::size_t length) {
    ssize_t read = 0;
    while ((read = g_source.load()(buffer, length, 0)) == -1 && errno == EINTR) {
    }
    return read == static_cast<ssize_t>(length);
}

}  // namespace

namespace zema {

void SetRandomSource(RandomSource source) {
    g_source.store(source ? source : &getrandom);
}

}  // namespace zema

extern "C" uint32_t RandomGet32(void) {
    std::uint8_t bytes[sizeof(std::uint32_t)];
    if (!ReadSource(bytes, sizeof bytes)) {
        zema::TraceServiceLine(TRACE_MODULE_ZEMASENSOR, 1, "RandomGet32", __LINE__,
                               "Failed to aquire crypto-random context");
        return static_cast<std::uint32_t>(std::rand() % (kFallbackMaximum + 1));
    }
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}
