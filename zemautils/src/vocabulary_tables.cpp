// The twelve enumerations, each row in display order with its symbol, its place in the symbol
// list, its display name and its display flag. Rows without a symbol (nullptr) are values that are
// shown but never read from text.

#include "vocabulary_internal.h"

#include <zemautils/vocabulary.h>

#include <algorithm>
#include <iterator>

namespace zema {
namespace {

constexpr EnumRow kRogueRows[] = {
    {-1, nullptr, 0, "Invalid", 0},    {0, "Authorized", 1, "Authorized", 1},     {1, "Rogue", 2, "Rogue", 1},
    {2, "Neighbor", 3, "Neighbor", 1}, {3, "Unclassified", 4, "Unclassified", 1},
};

constexpr EnumRow kSubRogueRows[] = {
    {-1, nullptr, 0, "Unspecified", 0},
    {1, "Internal", 2, "Internal", 1},
    {2, "Guest", 3, "Guest", 1},
    {0, "Unknown", 1, "Unknown", 1},
    {11, "Transient", 4, "Transient", 1},
    {12, "SuspectedNeighbor", 5, "Suspected Neighbor", 1},
    {13, "SuspectedRogue", 6, "Suspected Rogue", 1},
    {30, "ConnectedToLAN", 7, "Connected to LAN", 1},
    {31, "Malicious", 8, "Malicious", 1},
};

constexpr EnumRow kAuthRows[] = {
    {0, "AuthUnknown", 6, "Unknown", 0}, {1, "Open", 1, "Open", 1},        {2, "Shared", 2, "Shared", 1},
    {3, "WPAPSK", 4, "WPA PSK", 1},      {129, "NetEAP", 3, "Net EAP", 1}, {256, "EAP", 5, "EAP", 1},
};

constexpr EnumRow kEncRows[] = {
    {0, "None", 1, "None", 1},
    {1, "WEP", 2, "WEP", 1},
    {2, "WPATKIP_old", 5, "WPA TKIP (old)", 1},
    {3, nullptr, 0, "Fortress", 1},
    {10, "WEP128", 3, "WEP (128)", 1},
    {11, "WEP256", 4, "WEP (256)", 1},
    {128, nullptr, 0, "WPA (Unknown)", 1},
    {129, "WPAWEP40", 6, "WPA WEP (40)", 1},
    {130, "WPATKIP", 7, "WPA TKIP", 1},
    {131, "WPAAESOCB", 8, "WPA AES (OCB)", 1},
    {132, "WPAAESCCM", 9, "WPA AES (CCM)", 1},
    {133, "WPAWEP104", 10, "WPA WEP (104)", 1},
    {-1, "utEncryptionUnknown", 11, "Encryption Unknown", 0},
    {-2, "EncryptionMask", 12, "Encryption Mask", 0},
};

constexpr EnumRow kStationTypeRows[] = {
    {-1, nullptr, 0, "Invalid", 1}, {0, "Client", 1, "Client", 1},   {1, "AP", 2, "Access Point", 1},
    {2, "adhoc", 3, "IBSS", 1},     {3, "Unknown", 4, "Unknown", 0},
};

constexpr EnumRow kReasonCodeRows[] = {
    {1, "Unspecified", 1, "Unspecified", 1},
    {2, "PreviousAuthenticationInvalid", 2, "Previous Authentication Invalid", 1},
    {3, "DeauthenticatedLeaving", 3, "Deauthenticated Leaving", 1},
    {4, "DissociatedInactivity", 4, "Dissociated Inactivity", 1},
    {5, "DissociatedOverload", 5, "Dissociated Overload", 1},
    {6, "FrameFromNonAuthenticated", 6, "Frame From Non-Authenticated", 1},
    {7, "FrameFromNonAssociated", 7, "Frame From Non-Associated", 1},
    {8, "DissociatedLeaving", 8, "Dissociated Leaving", 1},
    {9, "NotAuthenticated", 9, "Not Authenticated", 1},
    {96, "ReasonNumberMax", 10, "Reason Number Max", 0},
    {128, "Success", 11, "Success", 1},
    {129, "UnspecifiedFailure", 12, "Unspecified Failure", 1},
    {138, "CantSupportCapabilities", 13, "Can't Support Capabilities", 1},
    {139, "CantConfirmAssociation", 14, "Can't Confirm Association", 1},
    {140, "AssociationDenied", 15, "Association Denied", 1},
    {141, "UnsupportedAuthentication", 16, "Unsupported Authentication", 1},
    {142, "TransactionOutOfSequence", 17, "Transaction Out of Sequence", 1},
    {143, "ChallengeFailure", 18, "Challenge Failure", 1},
    {144, "Timeout", 19, "Timeout", 1},
    {145, "AssociationOverload", 20, "Association Overload", 1},
    {146, "UnsupportedRates", 21, "Unsupported Rates", 1},
    {224, "StatusNumberMax", 22, "Status Number Max", 0},
    {253, "ShortFragmentAttack", 23, "Short Fragment Attack", 1},
    {254, "AuthFataJackAttack", 24, "Fata Jack Attack", 1},
};

constexpr EnumRow kStationFlagRows[] = {
    {1, "STA_FLAG_POWER_SAVE", 1, "Power Save", 1},
    {2, "STA_FLAG_SSID_BROADCAST", 2, "SSID Broadcast", 1},
    {4, "STA_FLAG_SSID_PRESENT", 3, "SSID Present", 1},
    {8, "STA_FLAG_SSID_IN_BEACON", 4, "SSID in Beacon", 1},
    {16, "STA_FLAG_TYPE_VALID", 5, "Type Valid", 1},
    {32, "STA_FLAG_MAC_SPOOF", 6, "MAC Spoof", 1},
    {64, "STA_FLAG_WDS", 7, "WDS", 1},
    {128, "STA_FLAG_ACTUAL_CHANNEL", 8, "Actual Channel", 1},
    {256, "STA_FLAG_SUSPICIOUS_RSSI", 9, "Suspicious RSSI", 1},
    {512, "STA_FLAG_CAPABILITIES_VALID", 10, "Capabilities Valid", 1},
    {1024, "STA_FLAG_NEW", 11, "New", 1},
    {2048, "STA_FLAG_EXISTING", 12, "Existing", 1},
};

constexpr EnumRow kNetworkPacketTypeRows[] = {
    {0, "IP", 1, "IP", 1},       {1, "UnknownEth", 2, "Unknown Eth", 1},
    {2, "EAPoL", 3, "EAPoL", 1}, {3, "UnknownSNAP", 4, "Unknown SNAP", 1},
    {4, "ARP", 5, "ARP", 1},     {5, "Encrypted", 6, "Encrypted", 1},
};

constexpr EnumRow kFrameTypeRows[] = {
    {0, "AssocReq", 1, "Association Request", 1},
    {1, "AssocResp", 2, "Association Response", 1},
    {2, "ReassocReq", 3, "Reassociation Request", 1},
    {3, "ReassocResp", 4, "Reassociation Response", 1},
    {4, "ProbeReq", 5, "Probe Request", 1},
    {5, "ProbeResp", 6, "Probe Response", 1},
    {8, "Beacon", 7, "Beacon", 1},
    {9, "ATIM", 8, "ATIM", 1},
    {10, "Dissoc", 9, "Dissociation", 1},
    {11, "Auth", 10, "Authentication", 1},
    {12, "Deauth", 11, "Deauthentication", 1},
    {26, "PSPoll", 12, "PS Poll", 1},
    {27, "RTS", 13, "RTS", 1},
    {28, "CTS", 14, "CTS", 1},
    {29, "ACK", 15, "ACK", 1},
    {30, "CFEnd", 16, "CF End", 1},
    {31, "CFEndCFACK", 17, "CF End CF Ack", 1},
    {32, "Data", 18, "Data", 1},
    {33, "DataCFACK", 19, "Data CF Ack", 1},
    {34, "DataCFPoll", 20, "Data CF Poll", 1},
    {35, "DataCFACKCFPoll", 21, "Data CF Ack CF Poll", 1},
    {36, "Null", 22, "Null", 1},
    {37, "CFACK", 23, "CF ACK", 1},
    {38, "CFPoll", 24, "CF Poll", 1},
    {39, "CFACKCFPoll", 25, "CF ACK CF Poll", 1},
    {40, "QoSData", 26, "QoS Data", 1},
    {41, "QoSDataCFACK", 27, "QoS Data CF ACK", 1},
    {42, "QoSDataCFPoll", 28, "QoS Data CF Poll", 1},
    {43, "QoSDataCFACKCFPoll", 29, "QoS Data CF ACK CF Poll", 1},
    {44, "QoSNull", 30, "QoS Null", 1},
    {45, "QoSCFACK", 31, "QoS CF ACK", 1},
    {46, "QoSCFPoll", 32, "QoS CF Poll", 1},
    {47, "QoSCFACKCFPoll", 33, "QoS CF ACK CF Poll", 1},
};

constexpr EnumRow kEapolTypeRows[] = {
    {0, "EAPOL_TYPE_PACKET", 1, "Packet", 1},       {1, "EAPOL_TYPE_START", 2, "Start", 1},
    {2, "EAPOL_TYPE_LOGOFF", 3, "Logoff", 1},       {3, "EAPOL_TYPE_KEY", 4, "Key", 1},
    {4, "EAPOL_TYPE_ASF_ALERT", 5, "ASF Alert", 1}, {254, "EAPOL_TYPE_WPA_LEY", 6, "WPA LEY", 1},
};

constexpr EnumRow kEapolCodeRows[] = {
    {1, "EAPOL_CODE_REQUEST", 1, "Request", 1},
    {2, "EAPOL_CODE_RESPONSE", 2, "Response", 1},
    {3, "EAPOL_CODE_SUCCESS", 3, "Success", 1},
    {4, "EAPOL_CODE_FAILURE", 4, "Failure", 1},
};

constexpr EnumRow kEapTypeRows[] = {
    {1, "EAP_TYPE_IDENTITY", 1, "Identity", 1},
    {2, "EAP_TYPE_NOTIFICATION", 2, "Notification", 1},
    {3, "EAP_TYPE_NAK", 3, "NAK", 1},
    {4, "EAP_TYPE_MD5_CHALLENGE", 4, "MD5 Challenge", 1},
    {5, "EAP_TYPE_OTP", 5, "One-Time Password", 1},
    {6, "EAP_TYPE_GENRIC_TOKEN", 6, "Generic Token Card", 1},
    {9, "EAP_TYPE_RSA", 7, "RSA Public Key", 1},
    {10, "EAP_TYPE_UNILATERAL", 8, "Unilateral", 1},
    {11, "EAP_TYPE_KEA", 9, "KEA", 1},
    {12, "EAP_TYPE_KEA_VALIDATE", 10, "KEA Validate", 1},
    {13, "EAP_TYPE_EAP_TLS", 11, "EAP TLS", 1},
    {14, "EAP_TYPE_AXENT", 12, "Axent", 1},
    {15, "EAP_TYPE_SECURID", 13, "SecurID", 1},
    {16, "EAP_TYPE_ARCOT", 14, "Arcot", 1},
    {17, "EAP_TYPE_LEAP", 15, "LEAP", 1},
    {18, "EAP_TYPE_NOKIA", 16, "Nokia", 1},
    {19, "EAP_TYPE_SRP_SHA1_1", 17, "SRP SHA1 Part 1", 1},
    {20, "EAP_TYPE_SRP_SHA1_2", 18, "SRP SHA1 Part 2", 1},
    {21, "EAP_TYPE_EAP_TTLS", 19, "EAP TTLS", 1},
    {22, "EAP_TYPE_RAS", 20, "RAS", 1},
    {23, "EAP_TYPE_UMTS", 21, "UMTS", 1},
    {24, "EAP_TYPE_EAP_3COM", 22, "EAP 3Com", 1},
    {25, "EAP_TYPE_PEAP", 23, "PEAP", 1},
    {26, "EAP_TYPE_MS_EAP", 24, "MS EAP", 1},
    {27, "EAP_TYPE_MAKE", 25, "MAKE", 1},
    {28, "EAP_TYPE_CRYPTOCARD", 26, "CryptoCard", 1},
    {29, "EAP_TYPE_EAP_MSCHAP_V2", 27, "EAP MSCHAP V2", 1},
    {30, "EAP_TYPE_DYNAMID", 28, "DynamID", 1},
    {31, "EAP_TYPE_ROB_EAP", 29, "Rob EAP", 1},
    {32, "EAP_TYPE_SECURID_EAP", 30, "SecurID EAP", 1},
    {33, "EAP_TYPE_MS_TLV", 31, "MS TLV", 1},
    {34, "EAP_TYPE_SENTRINET", 32, "SentriNET", 1},
    {35, "EAP_TYPE_EAP_ACTIONTEC", 33, "EAP Actiontec", 1},
    {36, "EAP_TYPE_COGENT_BIOMETRICS", 34, "Cogent Biometrics", 1},
    {37, "EAP_TYPE_AIRFORTRESS_EAP", 35, "AirFortress EAP", 1},
    {38, "EAP_TYPE_EAP_HTTP_DIGEST", 36, "EAP HTTP Digest", 1},
    {39, "EAP_TYPE_SECURESUITE_EAP", 37, "SecureSuite EAP", 1},
    {40, "EAP_TYPE_DEVICECONNECT_EAP", 38, "DeviceConnect EAP", 1},
    {41, "EAP_TYPE_EAP_SPEKE", 39, "EAP SPEKE", 1},
    {255, "EAP_TYPE_VENDOR_SPECIFIC", 40, "Vendor Specific", 1},
};
constexpr Enumeration kEnumerations[] = {
    {PT_ROGUE, kRogueRows},
    {PT_SUBROGUE, kSubRogueRows},
    {PT_AUTH, kAuthRows},
    {PT_ENC, kEncRows},
    {PT_STATION_TYPE, kStationTypeRows},
    {PT_REASON_CODE, kReasonCodeRows},
    {PT_STATION_FLAG, kStationFlagRows},
    {PT_NETWORK_PACKET_TYPE, kNetworkPacketTypeRows},
    {PT_FRAME_TYPE, kFrameTypeRows},
    {PT_EAPOL_TYPE, kEapolTypeRows},
    {PT_EAPOL_CODE, kEapolCodeRows},
    {PT_EAP_TYPE, kEapTypeRows},
};

}  // namespace

const Enumeration* FindEnumeration(std::int32_t valueType) {
    const auto* found = std::find_if(std::begin(kEnumerations), std::end(kEnumerations),
                                     [valueType](const Enumeration& e) { return e.valueType == valueType; });
    return found == std::end(kEnumerations) ? nullptr : found;
}

}  // namespace zema
