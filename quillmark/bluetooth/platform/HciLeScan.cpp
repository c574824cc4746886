#include "quillmark/bluetooth/platform/HciLeScan.h"

#include <algorithm>
#include <cerrno>

#include "quillmark/bluetooth/platform/LeSighting.h"
#include "quillmark/bluetooth/platform/PacketIo.h"

namespace qm::bt {

namespace {

constexpr std::uint8_t kStatusUnknownCommand = 0x01;

TStreamStatus Failure(int error) {
    const bool refused = error == EPERM || error == EACCES;
    return {refused ? TStreamCode::NotPermitted : TStreamCode::Failed, error};
}

TStreamStatus StatusOfHci(std::uint8_t status) {
    if (status == kStatusUnknownCommand) return {TStreamCode::Unsupported, 0};
    return {TStreamCode::Failed, EIO};
}

// Continuous active scanning: the window fills the interval.
TLeScanParameters ContinuousScan() {
    TLeScanParameters parameters;
    parameters.active = true;
    parameters.interval = 0x0030;  // 30 ms
    parameters.window = 0x0030;
    return parameters;
}

}  // namespace

THciLeScan::~THciLeScan() {
    Stop();
}

TStreamStatus THciLeScan::Start() {
    int error = 0;
    fd_ = sockets_.OpenLeController(error);
    if (!fd_.Valid()) return Failure(error);
    if (const TStreamStatus configured = Configure(); configured.code != TStreamCode::Ok) {
        fd_ = TUniqueFd();
        return configured;
    }
    return Resume();
}

TStreamStatus THciLeScan::Configure() {
    std::uint8_t status = 0;
    TStreamStatus sent = Command(HciLeSetEventMaskCommand(hci::kLeScanEventMask), hci::kLeSetEventMask, status);
    if (sent.code != TStreamCode::Ok) return sent;
    if (status != 0) return StatusOfHci(status);
    THciCommandComplete complete;
    sent = Command(HciLeReadLocalSupportedFeaturesCommand(), hci::kLeReadLocalSupportedFeatures, status, &complete);
    if (sent.code != TStreamCode::Ok) return sent;
    const std::optional<std::uint64_t> features = LeLocalSupportedFeatures(complete);
    if (status != 0 || !features) return StatusOfHci(status);
    extended_ = (*features & hci::kLeFeatureExtendedAdvertising) != 0;
    const auto parameters = extended_ ? HciLeSetExtendedScanParametersCommand(ContinuousScan())
                                      : HciLeSetScanParametersCommand(ContinuousScan());
    sent = Command(parameters, extended_ ? hci::kLeSetExtendedScanParameters : hci::kLeSetScanParameters, status);
    if (sent.code != TStreamCode::Ok) return sent;
    return status == 0 ? TStreamStatus{} : StatusOfHci(status);
}

TStreamStatus THciLeScan::Enable(bool on, std::uint8_t& status) {
    if (extended_) return Command(HciLeSetExtendedScanEnableCommand(on), hci::kLeSetExtendedScanEnable, status);
    return Command(HciLeSetScanEnableCommand(on), hci::kLeSetScanEnable, status);
}

// Starts scanning unless an inquiry has the radio's turn or a refusal is recent. A controller
// that refuses to scan beside an inquiry makes the two take turns; the scan is tried again later.
TStreamStatus THciLeScan::Resume() {
    if (TClock::now() < retryAt_) return {};
    if (turns_ && !turns_->BeginScan()) return {};
    std::uint8_t status = 0;
    const TStreamStatus sent = Enable(true, status);
    if (sent.code == TStreamCode::Ok && status == 0) {
        scanning_ = true;
        return sent;
    }
    if (turns_) turns_->EndScan();
    if (sent.code != TStreamCode::Ok) return sent;
    if (status != hci::kStatusCommandDisallowed) return StatusOfHci(status);
    if (turns_) turns_->Refused();
    retryAt_ = TClock::now() + std::chrono::milliseconds(kRefusalBackoffMs);
    return {};
}

// Pauses for an inquiry's turn, or resumes after it.
TStreamStatus THciLeScan::TakeTurn() {
    if (!scanning_) return Resume();
    if (!turns_ || !turns_->PauseWanted()) return {};
    std::uint8_t status = 0;
    const TStreamStatus sent = Enable(false, status);
    scanning_ = false;
    turns_->EndScan();
    return sent;
}

TStreamStatus THciLeScan::Read(std::vector<TSighting>& sightings, int timeoutMs) {
    if (!fd_.Valid()) return {TStreamCode::Failed, EBADF};
    const TDeadline deadline = DeadlineIn(std::max(timeoutMs, 0));
    std::vector<std::uint8_t> packet;
    for (;;) {
        if (const TStreamStatus turned = TakeTurn(); turned.code != TStreamCode::Ok) return turned;
        const bool draining = !arrived_.empty();
        const TDeadline slice = draining ? TClock::now() : std::min(deadline, DeadlineIn(kTurnSliceMs));
        const TIoStatus received = ReceivePacket(fd_.Get(), slice, packet);
        if (received.Ok()) {
            if (auto event = ParseHciEvent(packet)) Take(*event);
            continue;
        }
        if (received.code != TIoCode::TimedOut) return Failure(received.ErrorNumber());
        if (draining || TClock::now() >= deadline) break;
    }
    std::move(arrived_.begin(), arrived_.end(), std::back_inserter(sightings));
    arrived_.clear();
    return {};
}

void THciLeScan::Take(THciEvent& event) {
    auto* reports = std::get_if<THciLeAdvertisingReports>(&event);
    if (!reports) return;
    const std::int64_t receivedMs = clock_.NowMs();
    std::vector<THciLeReport> complete;
    for (THciLeReport& report : reports->reports) {
        report.receivedMs = receivedMs;
        joiner_.Take(std::move(report), complete);
    }
    for (const THciLeReport& report : complete)
        if (std::optional<TSighting> sighting = LeSighting(report)) arrived_.push_back(std::move(*sighting));
}

TStreamStatus THciLeScan::Command(const std::vector<std::uint8_t>& packet, std::uint16_t opcode,
                                  std::uint8_t& status, THciCommandComplete* complete) {
    const TIoStatus sent = SendPacket(fd_.Get(), packet);
    if (!sent.Ok()) return Failure(sent.ErrorNumber());
    const TDeadline deadline = DeadlineIn(limits_.commandStatusMs);
    std::vector<std::uint8_t> received;
    for (;;) {
        const TIoStatus io = ReceivePacket(fd_.Get(), deadline, received);
        if (!io.Ok()) return Failure(io.ErrorNumber());
        std::optional<THciEvent> event = ParseHciEvent(received);
        if (!event) continue;
        if (auto* done = std::get_if<THciCommandComplete>(&*event); done && done->opcode == opcode) {
            status = done->returnParameters.empty() ? std::uint8_t{0xFF} : done->returnParameters[0];
            if (complete) *complete = std::move(*done);
            return {};
        }
        if (auto* pending = std::get_if<THciCommandStatus>(&*event); pending && pending->opcode == opcode) {
            status = pending->status;
            return {};
        }
        Take(*event);
    }
}

void THciLeScan::Stop() {
    if (!fd_.Valid()) return;
    if (scanning_) {
        std::uint8_t status = 0;
        Enable(false, status);
        scanning_ = false;
        if (turns_) turns_->EndScan();
    }
    fd_ = TUniqueFd();
}

}  // namespace qm::bt
