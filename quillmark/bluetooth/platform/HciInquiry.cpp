#include "quillmark/bluetooth/platform/HciInquiry.h"

#include <algorithm>
#include <cerrno>

#include "quillmark/bluetooth/platform/PacketIo.h"

namespace qm::bt {

namespace {

int ErrorOfHciStatus(std::uint8_t status) {
    return status == hci::kStatusCommandDisallowed ? EBUSY : EIO;
}

}  // namespace

void THciInquiry::Send(const std::vector<std::uint8_t>& packet) {
    SendPacket(fd_, packet);
}

int THciInquiry::Run(std::vector<THciInquiryEntry>& entries) {
    entries.clear();
    const TIoStatus sent =
        SendPacket(fd_, HciInquiryCommand(hci::kGeneralInquiryLap, hci::kDefaultInquiryLength, 0));
    if (!sent.Ok()) return sent.ErrorNumber();
    if (const int error = WaitCommandStatus(hci::kInquiry)) return error;
    const int error = CollectResults(entries);
    if (error == ETIMEDOUT) Send(HciCommand(hci::kInquiryCancel));
    return error;
}

template <typename Handler>
int THciInquiry::AwaitEvent(int timeoutMs, Handler handle) {
    const TDeadline deadline = DeadlineIn(timeoutMs);
    std::vector<std::uint8_t> packet;
    for (;;) {
        const TIoStatus received = ReceivePacket(fd_, deadline, packet);
        if (!received.Ok()) return received.ErrorNumber();
        if (auto event = ParseHciEvent(packet))
            if (const std::optional<int> result = handle(*event)) return *result;
    }
}

int THciInquiry::WaitCommandStatus(std::uint16_t opcode) {
    return AwaitEvent(limits_.commandStatusMs, [&](THciEvent& event) -> std::optional<int> {
        const auto* status = std::get_if<THciCommandStatus>(&event);
        if (!status || status->opcode != opcode) return std::nullopt;
        return status->status == 0 ? 0 : ErrorOfHciStatus(status->status);
    });
}

int THciInquiry::CollectResults(std::vector<THciInquiryEntry>& entries) {
    return AwaitEvent(limits_.inquiryCompleteMs, [&](THciEvent& event) -> std::optional<int> {
        if (const auto* complete = std::get_if<THciInquiryComplete>(&event))
            return complete->status == 0 ? 0 : ErrorOfHciStatus(complete->status);
        if (auto* results = std::get_if<THciInquiryResults>(&event)) {
            const std::int64_t receivedMs = clock_.NowMs();
            for (auto& entry : results->entries) {
                entry.receivedMs = receivedMs;
                Merge(entries, std::move(entry));
            }
        }
        return std::nullopt;
    });
}

// A controller may report a device more than once in one inquiry; the later report fills in a
// name the earlier one lacked and brings the newer signal, response data and time. Beyond the
// limit further devices are dropped.
void THciInquiry::Merge(std::vector<THciInquiryEntry>& entries, THciInquiryEntry entry) {
    const auto known = std::find_if(entries.begin(), entries.end(),
                                    [&](const THciInquiryEntry& e) { return e.address == entry.address; });
    if (known != entries.end()) {
        if (!known->name && entry.name) known->name = std::move(entry.name);
        if (entry.rssi) known->rssi = entry.rssi;
        if (!entry.eir.empty()) known->eir = std::move(entry.eir);
        known->receivedMs = entry.receivedMs;
        return;
    }
    if (entries.size() < limits_.maxInquiryResults) entries.push_back(std::move(entry));
}

std::optional<std::string> THciInquiry::RemoteName(const THciInquiryEntry& entry) {
    const auto request =
        HciRemoteNameRequestCommand(entry.address, entry.pageScanRepetitionMode, entry.clockOffset);
    if (!SendPacket(fd_, request).Ok() || WaitCommandStatus(hci::kRemoteNameRequest) != 0)
        return std::nullopt;
    std::optional<std::string> name;
    const int error = AwaitEvent(limits_.remoteNameMs, [&](THciEvent& event) -> std::optional<int> {
        auto* complete = std::get_if<THciRemoteNameComplete>(&event);
        if (!complete || complete->address != entry.address) return std::nullopt;
        if (complete->status == 0) name = std::move(complete->name);
        return 0;
    });
    if (error != 0) {
        std::vector<std::uint8_t> cancel(6);
        entry.address.ToWire(cancel.data());
        Send(HciCommand(hci::kRemoteNameRequestCancel, cancel));
    }
    return name;
}

}  // namespace qm::bt
