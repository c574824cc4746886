#include <array>
#include <span>

#include "quillmark/sdp/SdpNames.h"

namespace qm {

namespace {

// Protocol UUIDs 0x0000 to 0x001D; the gaps have no name. L2CAP (0x0100) stands alone.
constexpr std::array<const char*, 0x1E> kProtocols = {
    nullptr,                   // 0x0000
    "SDP",                     // 0x0001
    "UDP",                     // 0x0002
    "RFCOMM",                  // 0x0003
    "TCP",                     // 0x0004
    "TCS-BIN",                 // 0x0005
    "TCS-AT",                  // 0x0006
    nullptr,                   // 0x0007
    "OBEX",                    // 0x0008
    "IP",                      // 0x0009
    "FTP",                     // 0x000A
    nullptr,                   // 0x000B
    "HTTP",                    // 0x000C
    nullptr,                   // 0x000D
    "WSP",                     // 0x000E
    "BNEP",                    // 0x000F
    "UPNP",                    // 0x0010
    "HIDP",                    // 0x0011
    "HardcopyControlChannel",  // 0x0012
    nullptr,                   // 0x0013
    "HardcopyDataChannel",     // 0x0014
    nullptr,                   // 0x0015
    "HardcopyNotification",    // 0x0016
    "AVCTP",                   // 0x0017
    nullptr,                   // 0x0018
    "AVDTP",                   // 0x0019
    nullptr,                   // 0x001A
    "CMTP",                    // 0x001B
    nullptr,                   // 0x001C
    "UDI_C-Plane",             // 0x001D
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
