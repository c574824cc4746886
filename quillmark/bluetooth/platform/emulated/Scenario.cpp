#include "quillmark/bluetooth/platform/emulated/Scenario.h"

#include <algorithm>

namespace qm::bt::emu {

bool TPresence::At(std::int64_t seconds) const {
    if (seconds < from || seconds >= until) return false;
    if (period <= 0) return true;
    const std::int64_t phase = ((seconds - offset) % period + period) % period;
    return phase < onFor;
}

std::int8_t TSignal::At(std::int64_t seconds, std::int64_t phase) const {
    std::int64_t level = dbm;
    if (period > 0 && swing > 0) {
        // A triangle: from -swing up to +swing over the first half of the period, back down over
        // the second.
        const std::int64_t at = ((seconds + phase) % period + period) % period;
        const std::int64_t rise = at * 2 <= period ? at : period - at;
        level += (rise * 4 * swing) / period - swing;
    }
    return static_cast<std::int8_t>(std::clamp<std::int64_t>(level, -127, 20));
}

std::int8_t TEmulatedDevice::SignalAt(std::int64_t seconds) const {
    std::int64_t phase = 0;
    for (const std::uint8_t byte : address.bytes) phase = phase * 31 + byte;
    return signal.At(seconds, phase);
}

TBdAddr TLeAdvertiser::AddressAt(const TBdAddr& identity, std::int64_t seconds) const {
    if (addressKind == TLeAddressKind::Public) return identity;
    TBdAddr address = identity;
    if (addressKind == TLeAddressKind::Resolvable || addressKind == TLeAddressKind::NonResolvable) {
        // Each period's address: the identity mixed with the period's number, so that it is new
        // every period and the same for everyone asking within one.
        const std::int64_t period = rotateSeconds > 0 ? seconds / rotateSeconds : 0;
        std::uint64_t mix = static_cast<std::uint64_t>(period) * 0x9E3779B97F4A7C15ull;
        for (const std::uint8_t byte : identity.bytes) mix = (mix ^ byte) * 0x100000001B3ull;
        for (std::size_t i = 0; i < address.bytes.size(); ++i)
            address.bytes[i] = static_cast<std::uint8_t>(mix >> (8 * i));
    }
    const std::uint8_t top = addressKind == TLeAddressKind::RandomStatic ? 0xC0
                             : addressKind == TLeAddressKind::Resolvable  ? 0x40
                                                                          : 0x00;
    address.bytes[0] = static_cast<std::uint8_t>((address.bytes[0] & 0x3F) | top);
    return address;
}

}  // namespace qm::bt::emu
