#include "quillmark/bluetooth/platform/HciRadios.h"

#include <algorithm>
#include <cerrno>
#include <initializer_list>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/HciLocalRead.h"
#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/core/Utf8.h"

namespace qm::bt {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kInquiryScan = 0x01;
constexpr std::uint8_t kPageScan = 0x02;

// The local reads of one powered controller, each checked for its length.
class TLocalReads {
public:
    TLocalReads(int fd, int timeoutMs) : fd_(fd), timeoutMs_(timeoutMs) {}

    int Into(TLocalRadio& radio) {
        struct TRead {
            std::uint16_t opcode;
            std::size_t size;  // the fewest bytes the fields taken from it need
            Bytes* into;
        };
        Bytes address, name, cod, version, scan;
        for (const TRead& read :
             {TRead{hci::kReadBdAddr, 6, &address}, TRead{hci::kReadLocalName, 0, &name},
              TRead{hci::kReadClassOfDevice, 3, &cod}, TRead{hci::kReadLocalVersion, 8, &version},
              TRead{hci::kReadScanEnable, 1, &scan}})
            if (const int error = ReadAtLeast(read.opcode, read.size, *read.into)) return error;
        radio.address = TBdAddr::FromWire(address.data());
        radio.name =
            ValidUtf8(std::string(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0})));
        radio.classOfDevice = LoadLe24(cod.data());
        radio.manufacturer = LoadLe16(&version[4]);
        radio.lmpSubversion = LmpSubversionOf(version).value_or(0);
        radio.connectable = scan[0] & kPageScan;
        radio.discoverable = scan[0] & kInquiryScan;
        return 0;
    }

private:
    int ReadAtLeast(std::uint16_t opcode, std::size_t size, Bytes& returned) {
        if (const int error = HciLocalRead(fd_, opcode, timeoutMs_, returned)) return error;
        return returned.size() < size ? EBADMSG : 0;
    }

    int fd_;
    int timeoutMs_;
};

class THciRadios : public TLocalRadios {
public:
    THciRadios(TSocketFactory& sockets, std::unique_ptr<THciDevices> devices, int replyTimeoutMs)
        : sockets_(sockets), devices_(std::move(devices)), replyTimeoutMs_(replyTimeoutMs) {}

    // A controller that goes away between the list and its reads is left out.
    int List(std::vector<TLocalRadio>& radios) override {
        std::vector<THciDevice> devices;
        if (const int error = devices_->List(devices)) return error;
        radios.clear();
        for (const THciDevice& device : devices) {
            TLocalRadio radio;
            const int error = ReadDevice(device, radio);
            if (error == ENODEV) continue;
            if (error) return error;
            radios.push_back(std::move(radio));
        }
        return 0;
    }

    int Read(std::uint16_t index, TLocalRadio& radio) override {
        std::vector<THciDevice> devices;
        if (const int error = devices_->List(devices)) return error;
        const auto found = std::find_if(devices.begin(), devices.end(),
                                        [&](const THciDevice& d) { return d.index == index; });
        return found == devices.end() ? ENODEV : ReadDevice(*found, radio);
    }

    int SetPowered(std::uint16_t index, bool on) override { return devices_->SetUp(index, on); }
    int SetConnectable(std::uint16_t, bool) override { return EOPNOTSUPP; }
    int SetDiscoverable(std::uint16_t, bool) override { return EOPNOTSUPP; }

private:
    int ReadDevice(const THciDevice& device, TLocalRadio& radio) {
        radio = TLocalRadio{};
        radio.index = device.index;
        radio.powered = device.up;
        if (!device.up) return 0;
        int error = 0;
        const TUniqueFd fd = sockets_.OpenControllerAt(device.index, error);
        return fd.Valid() ? TLocalReads(fd.Get(), replyTimeoutMs_).Into(radio) : error;
    }

    TSocketFactory& sockets_;
    const std::unique_ptr<THciDevices> devices_;
    const int replyTimeoutMs_;
};

}  // namespace

std::unique_ptr<TLocalRadios> MakeHciRadios(TSocketFactory& sockets, std::unique_ptr<THciDevices> devices,
                                            int replyTimeoutMs) {
    return std::make_unique<THciRadios>(sockets, std::move(devices), replyTimeoutMs);
}

}  // namespace qm::bt
