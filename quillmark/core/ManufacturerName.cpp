#include <array>

#include "quillmark/core/BluetoothNames.h"

namespace qm {

namespace {

// Company identifiers 0 to 62, in order.
constexpr std::array<const char*, 63> kManufacturers = {
    "Ericsson Technology Licensing",
    "Nokia Mobile Phones",
    "Intel Corp.",
    "IBM Corp.",
    "Toshiba Corp.",
    "3Com",
    "Microsoft",
    "Lucent",
    "Motorola",
    "Infineon Technologies AG",
    "Cambridge Silicon Radio",
    "Silicon Wave",
    "Digianswer A/S",
    "Texas Instruments Inc.",
    "Parthus Technologies Inc.",
    "Broadcom Corporation",
    "Mitel Semiconductor",
    "Widcomm, Inc.",
    "Zeevo, Inc.",
    "Atmel Corporation",
    "Mitsubishi Electric Corporation",
    "RTX Telecom A/S",
    "KC Technology Inc.",
    "Newlogic",
    "Transilica, Inc.",
    "Rohde & Schwarz GmbH & Co. KG",
    "TTPCom Limited",
    "Signia Technologies, Inc.",
    "Conexant Systems Inc.",
    "Qualcomm",
    "Inventel",
    "AVM Berlin",
    "BandSpeed, Inc.",
    "Mansella Ltd",
    "NEC Corporation",
    "WavePlus Technology Co., Ltd.",
    "Alcatel",
    "Philips Semiconductors",
    "C Technologies",
    "Open Interface",
    "R F Micro Devices",
    "Hitachi Ltd",
    "Symbol Technologies, Inc.",
    "Tenovis",
    "Macronix International Co. Ltd.",
    "GCT Semiconductor",
    "Norwood Systems",
    "MewTel Technology Inc.",
    "ST Microelectronics",
    "Synopsys",
    "Red-M (Communications) Ltd",
    "Commil Ltd",
    "Computer Access Technology Corporation (CATC)",
    "Eclipse (HQ Espana) S.L.",
    "Renesas Technology Corp.",
    "Mobilian Corporation",
    "Terax",
    "Integrated System Solution Corp.",
    "Matsushita Electric Industrial Co., Ltd.",
    "Gennum Corporation",
    "Research In Motion",
    "IPextreme, Inc.",
    "Systems and Chips, Inc",
};

constexpr std::int32_t kTemporaryCode = 0xFFFF;

}  // namespace

std::string ManufacturerName(std::int32_t companyIdentifier) {
    const auto index = static_cast<std::uint32_t>(companyIdentifier);
    if (index < kManufacturers.size()) return kManufacturers[index];
    if (companyIdentifier == kTemporaryCode) return "** Temporary Manufacturer Code";
    return "Unknown";
}

}  // namespace qm
