#include "quillmark/bluetooth/platform/emulated/EmulatedLeScanner.h"

#include <algorithm>

namespace qm::bt::emu {

namespace {

// Each advertiser's first advertisement comes at a point of its interval taken from its address,
// so that advertisers do not all speak at once.
std::chrono::milliseconds FirstOffset(const TEmulatedDevice& device) {
    std::uint32_t mix = 0;
    for (const std::uint8_t byte : device.address.bytes) mix = mix * 131 + byte;
    return std::chrono::milliseconds(mix % static_cast<std::uint32_t>(device.le->intervalMs));
}

}  // namespace

void TEmulatedLeScanner::Start(TTime now, bool active, bool extended) {
    scanning_ = true;
    active_ = active;
    extended_ = extended;
    due_.assign(scenario_.devices.size(), TTime::max());
    for (std::size_t i = 0; i < scenario_.devices.size(); ++i) {
        const TEmulatedDevice& device = scenario_.devices[i];
        if (device.le && (extended || !device.le->extended)) due_[i] = now + FirstOffset(device);
    }
}

TEmulatedLeScanner::TTime TEmulatedLeScanner::NextDue() const {
    if (!scanning_ || due_.empty()) return TTime::max();
    return *std::min_element(due_.begin(), due_.end());
}

std::vector<TLeHeard> TEmulatedLeScanner::Due(TTime now) {
    std::vector<TLeHeard> heard;
    if (!scanning_) return heard;
    const std::int64_t seconds = elapsedSeconds_();
    for (;;) {
        const auto next = std::min_element(due_.begin(), due_.end());
        if (next == due_.end() || *next > now) break;
        const auto device = static_cast<std::size_t>(next - due_.begin());
        Hear(device, seconds, heard);
        const std::chrono::milliseconds interval(scenario_.devices[device].le->intervalMs);
        *next += interval;
        // An advertiser that fell behind (the scanner was busy) skips the events it missed.
        if (*next <= now) *next = now + interval;
    }
    return heard;
}

void TEmulatedLeScanner::Hear(std::size_t index, std::int64_t seconds, std::vector<TLeHeard>& heard) const {
    const TEmulatedDevice& device = scenario_.devices[index];
    if (!device.presence.At(seconds)) return;
    const TLeAdvertiser& le = *device.le;
    const TLeHeard advertisement{&le, le.AddressAt(device.address, seconds), device.SignalAt(seconds), false};
    for (int copy = 0; copy <= le.flood; ++copy) heard.push_back(advertisement);
    if (active_ && le.AnswersScans() && le.scanResponse) {
        TLeHeard response = advertisement;
        response.scanResponse = true;
        heard.push_back(response);
    }
}

}  // namespace qm::bt::emu
