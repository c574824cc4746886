#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"

#include <sys/socket.h>

#include <cerrno>
#include <ctime>

#include "quillmark/bluetooth/platform/emulated/EmulatedController.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedManagement.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedSdpServer.h"

namespace qm::bt::emu {

TEmulatedRadio::TEmulatedRadio(TScenario scenario, TClock clock)
    : scenario_(std::move(scenario)),
      clock_(std::move(clock)),
      start_(clock_()),
      state_(scenario_.controller) {}

TEmulatedRadio::~TEmulatedRadio() {
    std::lock_guard lock(mutex_);
    for (auto& peer : peers_) ::shutdown(peer.fd.Get(), SHUT_RDWR);
    for (auto& peer : peers_) peer.thread.join();
}

std::int64_t TEmulatedRadio::SystemClock() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

TUniqueFd TEmulatedRadio::OpenController(int& error) {
    if (!state_.Flags().powered) {
        error = ENODEV;
        return TUniqueFd();
    }
    return StartController(error);
}

TUniqueFd TEmulatedRadio::OpenControllerAt(std::uint16_t index, int& error) {
    if (index != 0) {
        error = ENODEV;
        return TUniqueFd();
    }
    if (!state_.Flags().powered) {
        error = ENETDOWN;
        return TUniqueFd();
    }
    return StartController(error);
}

TUniqueFd TEmulatedRadio::OpenManagement(int& error) {
    return StartPeer([this](int fd) { TEmulatedManagement(scenario_.controller, state_).Serve(fd); }, error);
}

TUniqueFd TEmulatedRadio::StartController(int& error) {
    return StartPeer(
        [this](int fd) {
            TEmulatedController(scenario_, state_, [this] { return ElapsedSeconds(); }).Serve(fd);
        },
        error);
}

TUniqueFd TEmulatedRadio::ConnectSdp(const TBdAddr& address, int, int& error) {
    const std::int64_t now = ElapsedSeconds();
    for (const auto& device : scenario_.devices) {
        if (!device.classic || device.address != address || !device.presence.At(now)) continue;
        if (device.misbehaviour.connectRefused) {
            error = ECONNREFUSED;
            return TUniqueFd();
        }
        return StartPeer([this, &device](int fd) { ServeSdp(fd, device, scenario_.sdpMtu); }, error);
    }
    error = EHOSTDOWN;
    return TUniqueFd();
}

TUniqueFd TEmulatedRadio::StartPeer(std::function<void(int)> serve, int& error) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        error = errno;
        return TUniqueFd();
    }
    std::lock_guard lock(mutex_);
    ReapFinishedPeers();
    TPeer& peer = peers_.emplace_back();
    peer.fd.Reset(ends[1]);
    peer.done = std::make_shared<std::atomic<bool>>(false);
    peer.thread = std::thread([serve = std::move(serve), fd = ends[1], done = peer.done] {
        serve(fd);
        done->store(true);
    });
    return TUniqueFd(ends[0]);
}

void TEmulatedRadio::ReapFinishedPeers() {
    for (auto it = peers_.begin(); it != peers_.end();) {
        if (!it->done->load()) {
            ++it;
            continue;
        }
        it->thread.join();
        it = peers_.erase(it);
    }
}

}  // namespace qm::bt::emu
