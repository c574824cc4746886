#include "quillmark/bluetooth/platform/ManagementRadios.h"

#include <cerrno>

#include "quillmark/bluetooth/platform/HciLocalRead.h"
#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/ManagementClient.h"
#include "quillmark/core/Utf8.h"

namespace qm::bt {

namespace {

bool NoManagementChannel(int error) {
    return error == EAFNOSUPPORT || error == EINVAL || error == EPROTONOSUPPORT;
}

class TManagementRadios : public TLocalRadios {
public:
    TManagementRadios(TSocketFactory& sockets, int replyTimeoutMs, std::unique_ptr<TLocalRadios> fallback)
        : sockets_(sockets), replyTimeoutMs_(replyTimeoutMs), fallback_(std::move(fallback)) {}

    int List(std::vector<TLocalRadio>& radios) override {
        return OnChannel([&](TManagementClient& client) { return ListOver(client, radios); },
                         [&](TLocalRadios& fallback) { return fallback.List(radios); });
    }
    int Read(std::uint16_t index, TLocalRadio& radio) override {
        return OnChannel([&](TManagementClient& client) { return ReadOver(client, index, radio); },
                         [&](TLocalRadios& fallback) { return fallback.Read(index, radio); });
    }
    int SetPowered(std::uint16_t index, bool on) override {
        const std::uint8_t value = on ? 1 : 0;
        return OnChannel(
            [&](TManagementClient& client) {
                return client.Set(mgmt::kSetPowered, index, {&value, 1});
            },
            [&](TLocalRadios& fallback) { return fallback.SetPowered(index, on); });
    }
    int SetConnectable(std::uint16_t index, bool on) override {
        const std::uint8_t value = on ? 1 : 0;
        return OnChannel(
            [&](TManagementClient& client) {
                return client.Set(mgmt::kSetConnectable, index, {&value, 1});
            },
            [&](TLocalRadios& fallback) { return fallback.SetConnectable(index, on); });
    }
    // General discoverable without a timeout; the kernel rejects it while not connectable (EINVAL).
    int SetDiscoverable(std::uint16_t index, bool on) override {
        const std::uint8_t parameters[3] = {on ? mgmt::kDiscoverableGeneral : mgmt::kDiscoverableOff, 0, 0};
        return OnChannel(
            [&](TManagementClient& client) { return client.Set(mgmt::kSetDiscoverable, index, parameters); },
            [&](TLocalRadios& fallback) { return fallback.SetDiscoverable(index, on); });
    }

private:
    template <typename Work, typename Fallback>
    int OnChannel(Work work, Fallback fallback) {
        int error = 0;
        const TUniqueFd fd = sockets_.OpenManagement(error);
        if (fd.Valid()) {
            TManagementClient client(fd.Get(), replyTimeoutMs_);
            return work(client);
        }
        return fallback_ && NoManagementChannel(error) ? fallback(*fallback_) : error;
    }

    // A controller that goes away between the list and its read is left out.
    int ListOver(TManagementClient& client, std::vector<TLocalRadio>& radios) {
        std::vector<std::uint16_t> indexes;
        if (const int error = client.ReadIndexList(indexes)) return error;
        radios.clear();
        for (const std::uint16_t index : indexes) {
            TLocalRadio radio;
            const int error = ReadOver(client, index, radio);
            if (error == ENODEV) continue;
            if (error) return error;
            radios.push_back(std::move(radio));
        }
        return 0;
    }

    int ReadOver(TManagementClient& client, std::uint16_t index, TLocalRadio& radio) {
        TMgmtControllerInfo info;
        if (const int error = client.ReadInfo(index, info)) return error;
        radio.index = index;
        radio.address = info.address;
        radio.name = ValidUtf8(info.name);
        radio.classOfDevice = info.classOfDevice;
        radio.manufacturer = info.manufacturer;
        radio.powered = info.currentSettings & mgmt::kSettingPowered;
        radio.connectable = info.currentSettings & mgmt::kSettingConnectable;
        radio.discoverable = info.currentSettings & mgmt::kSettingDiscoverable;
        radio.lmpSubversion = radio.powered ? LmpSubversion(index) : 0;
        return 0;
    }

    // 0 when it cannot be read.
    std::uint16_t LmpSubversion(std::uint16_t index) {
        int error = 0;
        const TUniqueFd fd = sockets_.OpenControllerAt(index, error);
        std::vector<std::uint8_t> returned;
        if (!fd.Valid() || HciLocalRead(fd.Get(), hci::kReadLocalVersion, replyTimeoutMs_, returned) != 0)
            return 0;
        return LmpSubversionOf(returned).value_or(0);
    }

    TSocketFactory& sockets_;
    const int replyTimeoutMs_;
    const std::unique_ptr<TLocalRadios> fallback_;
};

}  // namespace

std::unique_ptr<TLocalRadios> MakeManagementRadios(TSocketFactory& sockets, int replyTimeoutMs,
                                                   std::unique_ptr<TLocalRadios> fallback) {
    return std::make_unique<TManagementRadios>(sockets, replyTimeoutMs, std::move(fallback));
}

}  // namespace qm::bt
