#include "quillmark/bluetooth/platform/LeFragmentJoiner.h"

#include <algorithm>

namespace qm::bt {

namespace {

constexpr std::uint16_t kMoreToCome = 0x0020;

bool SameAdvertiser(const THciLeReport& a, const THciLeReport& b) {
    return a.addressType == b.addressType && a.address == b.address && a.sid == b.sid;
}

void AppendBounded(std::vector<std::uint8_t>& data, const std::vector<std::uint8_t>& more) {
    const std::size_t room = TLeFragmentJoiner::kMaxData - std::min(data.size(), TLeFragmentJoiner::kMaxData);
    data.insert(data.end(), more.begin(), more.begin() + static_cast<std::ptrdiff_t>(std::min(room, more.size())));
}

}  // namespace

void TLeFragmentJoiner::Take(THciLeReport report, std::vector<THciLeReport>& complete) {
    const bool moreToCome = (report.eventType & le::kDataStatusMask) == kMoreToCome;
    const auto chain = std::find_if(chains_.begin(), chains_.end(),
                                    [&](const THciLeReport& held) { return SameAdvertiser(held, report); });
    if (chain == chains_.end()) {
        if (!moreToCome) {
            complete.push_back(std::move(report));
            return;
        }
        if (chains_.size() >= kMaxChains) chains_.erase(chains_.begin());
        if (report.data.size() > kMaxData) report.data.resize(kMaxData);
        chains_.push_back(std::move(report));
        return;
    }
    AppendBounded(chain->data, report.data);
    chain->rssi = report.rssi;
    chain->receivedMs = report.receivedMs;
    if (moreToCome) return;
    chain->eventType = report.eventType;
    complete.push_back(std::move(*chain));
    chains_.erase(chain);
}

}  // namespace qm::bt
