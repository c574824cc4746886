#pragma once
// The radio map: the computer's local Bluetooth radios found at the radio layer's start, whichever
// stack drives them, in the order they were found (the platform's radios, the Widcomm radio, the
// kernel's controllers). Each item answers for its radio by dispatching on its stack.

#include <cstdint>
#include <memory>
#include <vector>

#include "quillmark/bluetooth/radios/WindowsRadioApi.h"

namespace qm::bt {

enum TRadioStack : std::int32_t {
    rsMicrosoft = 0,
    rsWidcomm = 1,
    rsBlueZ = 2,  // a controller of the Linux kernel, reached through its management channel
};

// Result codes of the radio layer.
inline constexpr int kRadioOk = 0;
inline constexpr int kRadioBadHandle = 1;
inline constexpr int kRadioNone = 2;
inline constexpr int kRadioStackFailed = 3;
inline constexpr int kRadioUnknownStack = 4;

class TRadioMapItem {
public:
    // handle: the platform's radio handle of a Microsoft radio, owned from here on.
    // controller: the kernel's index of a BlueZ radio.
    TRadioMapItem(TRadioStack stack, HANDLE handle, std::uint64_t address, std::uint16_t controller = 0);
    ~TRadioMapItem();
    TRadioMapItem(const TRadioMapItem&) = delete;
    TRadioMapItem& operator=(const TRadioMapItem&) = delete;

    bool IsDiscoverable() const;
    bool IsConnectable() const;
    int SetDiscoverable(bool on);
    int SetConnectable(bool on);
    int SetEnabled(bool on);

    std::uint64_t FAddress;
    TRadioStack FStack;
    HANDLE FHandle;
    std::uint16_t FController;
};

class TRadioMap {
public:
    // Looks for the radios of every stack present; false when reading a platform radio failed
    // (the radios found before stay in the map).
    bool Initialize();
    void AddRadio(TRadioStack stack, HANDLE handle, std::uint64_t address, std::uint16_t controller = 0);
    TRadioMapItem* FindRadio(std::uint64_t address) const;

    std::size_t Count() const { return FItems.size(); }
    TRadioMapItem& Item(std::size_t index) const { return *FItems[index]; }

private:
    bool AddMicrosoftRadios();
    void AddWidcommRadio();
    void AddBlueZRadios();

    std::vector<std::unique_ptr<TRadioMapItem>> FItems;
};

// The map's key of a radio address given most significant byte first.
std::uint64_t RadioAddressKey(const std::uint8_t* mostSignificantFirst);

}  // namespace qm::bt
