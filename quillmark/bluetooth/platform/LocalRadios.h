#pragma once
// The machine's own Bluetooth controllers as the kernel knows them, powered or not: what they are
// and whether they are powered, connectable and discoverable, and switching those three.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"
#include "quillmark/bluetooth/platform/SocketFactory.h"

namespace qm::bt {

struct TLocalRadio {
    std::uint16_t index = 0;  // the kernel's controller index: hciN
    TBdAddr address;
    std::string name;  // valid UTF-8
    std::uint32_t classOfDevice = 0;
    std::uint16_t manufacturer = 0;   // Bluetooth company identifier
    std::uint16_t lmpSubversion = 0;  // 0 when it cannot be read (a controller that is not powered)
    bool powered = false;
    bool connectable = false;
    bool discoverable = false;
};

class TLocalRadios {
public:
    virtual ~TLocalRadios() = default;
    // Every controller, in the kernel's index order. 0, or a system error number.
    virtual int List(std::vector<TLocalRadio>& radios) = 0;
    // One controller's present state. 0, ENODEV when it is gone, or a system error number.
    virtual int Read(std::uint16_t index, TLocalRadio& radio) = 0;
    // 0 on success, otherwise a system error number: EPERM or EACCES when the kernel refuses
    // (these need CAP_NET_ADMIN), ERFKILL when the radio is blocked, ENODEV when it is gone, ...
    virtual int SetPowered(std::uint16_t index, bool on) = 0;
    virtual int SetConnectable(std::uint16_t index, bool on) = 0;
    virtual int SetDiscoverable(std::uint16_t index, bool on) = 0;
};

// The controllers behind a socket factory: its management channel, raw HCI reads as the fallback.
std::unique_ptr<TLocalRadios> MakeLocalRadios(TSocketFactory& sockets);

}  // namespace qm::bt
