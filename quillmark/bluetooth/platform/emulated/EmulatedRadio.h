#pragma once
// The emulated radio: a socket factory whose connections lead to an emulated controller, its
// management channel and the emulated devices' SDP servers, through
// socketpair(AF_UNIX, SOCK_SEQPACKET). The controller's powered, connectable and discoverable
// state belongs to the radio: what one connection switches, every other one sees. Each open
// connection is served by a thread of the radio (standing in for the controller and the remote
// devices); the protocol code on the other end is the same as on real hardware.

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "quillmark/bluetooth/platform/SocketFactory.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedControllerState.h"
#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

class TEmulatedRadio : public TSocketFactory {
public:
    // Seconds on any fixed epoch; the devices' presence counts from the reading at construction.
    // Called from the radio's threads.
    using TClock = std::function<std::int64_t()>;

    explicit TEmulatedRadio(TScenario scenario, TClock clock = SystemClock);
    ~TEmulatedRadio() override;  // ends every connection and waits for its thread

    // ENODEV while the controller is not powered, as with no powered adapter.
    TUniqueFd OpenController(int& error) override;
    // An absent device does not answer the page: EHOSTDOWN.
    TUniqueFd ConnectSdp(const TBdAddr& address, int timeoutMs, int& error) override;
    TUniqueFd OpenManagement(int& error) override;
    // Index 0 is the controller (ENETDOWN while it is not powered: it would answer no command);
    // any other index ENODEV.
    TUniqueFd OpenControllerAt(std::uint16_t index, int& error) override;

    const TScenario& Scenario() const { return scenario_; }
    std::int64_t ElapsedSeconds() const { return clock_() - start_; }

    static std::int64_t SystemClock();

private:
    struct TPeer {
        TUniqueFd fd;
        std::shared_ptr<std::atomic<bool>> done;
        std::thread thread;
    };

    TUniqueFd StartController(int& error);
    TUniqueFd StartPeer(std::function<void(int)> serve, int& error);
    void ReapFinishedPeers();

    const TScenario scenario_;
    const TClock clock_;
    const std::int64_t start_;
    TEmulatedControllerState state_;
    std::mutex mutex_;
    std::list<TPeer> peers_;
};

}  // namespace qm::bt::emu
