// Wi-Fi channel numbering in the library's internal channel space.

#include <zemautils/channel.h>

#include <cstdio>
#include <cstdlib>

int32_t ZEMAChannelNumberToFrequency(int32_t n) {
    if (n >= 1 && n <= 13) return 2407 + 5 * n;
    if (n == 14) return 2484;
    if (n == 15) return 2437;
    if (n >= 20 && n <= 179) return 5000 + 5 * n;
    if (n >= 180 && n <= 219) return 4000 + 5 * n;
    if (n >= 236 && n <= 255) return 3720 + 5 * n;
    return 0;
}

int32_t ZEMAChannelFrequencyToNumber(int32_t f) {
    if (f >= 2412 && f <= 2472) return (f - 2407) / 5;
    if (f == 2484) return 14;
    if (f >= 4900 && f <= 5099) return (f - 4000) / 5;
    if (f >= 5100 && f <= 5895) return (f - 5000) / 5;
    return 0;
}

int32_t ZEMAChannelNumberToChannelNumber(int32_t n) {
    return ZEMAChannelFrequencyToNumber(ZEMAChannelNumberToFrequency(n));
}

namespace {

// An advertised 180-199 may be 4.9 GHz or 5 GHz (5900-5995, beyond the 5 GHz table): the candidate
// nearer the receiving channel's frequency wins, 5 GHz on a tie.
int32_t NearerCandidate(int32_t current, int32_t advertised) {
    const int32_t fc = ZEMAChannelNumberToFrequency(current);
    const int32_t f5 = 5000 + 5 * advertised;
    const int32_t f4 = 4000 + 5 * advertised;
    return ZEMAChannelFrequencyToNumber(std::abs(f5 - fc) <= std::abs(f4 - fc) ? f5 : f4);
}

}  // namespace

int32_t ZEMAChannelConvertAdvertised(int32_t current, int32_t advertised) {
    // A negative number is no channel in any band.
    if (current == 0 || advertised < 0) return 0;
    if (current < 20) return advertised <= 14 ? advertised : 0;
    if (advertised <= 19) return advertised + 200;
    if (advertised <= 179) return advertised;
    if (advertised <= 199) return NearerCandidate(current, advertised);
    if (advertised <= 219) return advertised;
    if (advertised <= 235) return 0;
    if (advertised <= 255) return advertised - 56;
    return 0;
}

char* ZEMAChannelDescription(int32_t n, char* buffer, int32_t size) {
    if (buffer == nullptr || size < 1) return buffer;
    const auto room = static_cast<std::size_t>(size);
    const int32_t f = ZEMAChannelNumberToFrequency(n);
    const double ghz = f * 0.001;
    if (f == 0) {
        std::snprintf(buffer, room, "%d - (Unknown)", n);
    } else if (n <= 13) {
        std::snprintf(buffer, room, "%d - (802.11b/g %0.3f GHz)", n, ghz);
    } else if (n == 14) {
        std::snprintf(buffer, room, "%d - (802.11b %0.3f GHz)", n, ghz);
    } else if (n == 15) {
        std::snprintf(buffer, room, "%d/6 - (Atheros Turbo %0.3f GHz)", n, ghz);
    } else if (n <= 179) {
        std::snprintf(buffer, room, "%d - (802.11a %0.3f GHz)", n, ghz);
    } else if (n <= 199) {
        std::snprintf(buffer, room, "%d/%d - (802.11a/j %0.3f GHz)", n, n + 56, ghz);
    } else if (n <= 219) {
        std::snprintf(buffer, room, "%d/%d - (802.11a %0.3f GHz)", n, n - 200, ghz);
    } else {
        std::snprintf(buffer, room, "%d/%d - (802.11a/j %0.3f GHz)", n, n - 56, ghz);
    }
    return buffer;
}
