#include <array>
#include <span>

#include "quillmark/bluetooth/sdp/SdpNames.h"

namespace qm {

namespace {

// Protocol UUIDs 0x0000 to 0x001D; the gaps have no name. L2CAP (0x0100) stands alone.
constexpr std::array<const char*, 0x1E> kProtocols = {
    nullptr,
    "SDP",
    "UDP",
    "RFCOMM",
    "TCP",
    "TCS-BIN",
    "TCS-AT",
    nullptr,
    "OBEX",
    "IP",
    "FTP",
    nullptr,
    "HTTP",
    nullptr,
    "WSP",
    "BNEP",
    "UPNP",
    "HIDP",
    "HardcopyControlChannel",
    nullptr,
    "HardcopyDataChannel",
    nullptr,
    "HardcopyNotification",
    "AVCTP",
    nullptr,
    "AVDTP",
    nullptr,
    "CMTP",
    nullptr,
    "UDI_C-Plane",
};
constexpr std::uint32_t kL2capUuid = 0x0100;

constexpr std::array<const char*, 3> kDiscoveryClasses = {
    "ServiceDiscoveryServerServiceClassID",
    "BrowseGroupDescriptorServiceClassID",
    "PublicBrowseGroup",
};

constexpr std::array<const char*, 47> kProfileClasses = {
    "SerialPort",
    "LANAccessUsingPPP",
    "DialupNetworking",
    "IrMCSync",
    "OBEXObjectPush",
    "OBEXFileTransfer",
    "IrMCSyncCommand",
    "Headset",
    "CordlessTelephony",
    "AudioSource",
    "AudioSink",
    "A/V_RemoteControlTarget",
    "AdvancedAudioDistribution",
    "A/V_RemoteControl",
    "VideoConferencing",
    "Intercom",
    "Fax",
    "HeadsetAudioGateway",
    "WAP",
    "WAPClient",
    "PAN",
    "NAP",
    "GN",
    "DirectPrinting",
    "ReferencePrinting",
    "Imaging",
    "ImagingResponder",
    "ImagingAutomaticArchive",
    "ImagingReferencedObjects",
    "Handsfree",
    "HandsfreeAudioGateway",
    "DirectPrintingReferenceObjectsService",
    "ReflectedUI",
    "BasicPrinting",
    "PrintingStatus",
    "HumanInterfaceDeviceService",
    "HardcopyCableReplacement",
    "HCRPrint",
    "HCRScan",
    "CommonISDNAccess",
    "VideoConferencingGW",
    "UDI_MT",
    "UDI_TA",
    "Audio/Video",
    "SIMAccess",
    "Phonebook Access - PCE",
    "Phonebook Access - PSE",
};

constexpr std::array<const char*, 7> kGenericClasses = {
    "PnPInformation",   "GenericNetworking", "GenericFileTransfer", "GenericAudio",
    "GenericTelephony", "UPNPService",       "UPNPIPService",
};

constexpr std::array<const char*, 6> kExtendedClasses = {
    "ESDP_UPNP_IP_PAN", "ESDP_UPNP_IP_LAP", "ESDP_UPNP_L2CAP",
    "VideoSource",      "VideoSink",        "VideoDistribution",
};

// A run of consecutive service class keys starting at first.
struct TNameRun {
    std::uint32_t first;
    std::span<const char* const> names;
};

constexpr std::array<TNameRun, 4> kServiceClassRuns = {{
    {0x1000, kDiscoveryClasses},
    {0x1101, kProfileClasses},
    {0x1200, kGenericClasses},
    {0x1300, kExtendedClasses},
}};

const char* UuidKeyName(std::uint32_t key) {
    if (key < kProtocols.size()) return kProtocols[key];
    if (key == kL2capUuid) return "L2CAP";
    for (const TNameRun& run : kServiceClassRuns)
        if (key >= run.first && key - run.first < run.names.size()) return run.names[key - run.first];
    return nullptr;
}

void AppendHex(std::string& text, const TSdpUuid& uuid, std::size_t from, std::size_t to) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (std::size_t index = from; index < to; ++index) {
        text += kDigits[uuid[index] >> 4];
        text += kDigits[uuid[index] & 0x0F];
    }
}

// {8-4-4-4-12} hexadecimal digits of the bytes in order.
void AppendRegistryForm(std::string& text, const TSdpUuid& uuid) {
    text += '{';
    AppendHex(text, uuid, 0, 4);
    text += '-';
    AppendHex(text, uuid, 4, 6);
    text += '-';
    AppendHex(text, uuid, 6, 8);
    text += '-';
    AppendHex(text, uuid, 8, 10);
    text += '-';
    AppendHex(text, uuid, 10, 16);
    text += '}';
}

}  // namespace

void AppendSDPUUIDName(std::string& text, const TSdpUuid& uuid) {
    if (const char* name = UuidKeyName(SdpUuidFirstField(uuid))) {
        text += name;
    } else {
        AppendRegistryForm(text, uuid);
    }
}

std::string SDPUUIDName(const TSdpUuid& uuid) {
    std::string text;
    AppendSDPUUIDName(text, uuid);
    return text;
}

}  // namespace qm
