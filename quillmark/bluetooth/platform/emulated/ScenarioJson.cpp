#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string_view>
#include <nlohmann/json.hpp>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/platform/emulated/SdpElementWriter.h"

namespace qm::bt::emu {

namespace {

using nlohmann::json;

[[noreturn]] void Invalid(const std::string& reason) {
    throw TError("Invalid scenario: " + reason);
}

// A key the scenario format does not know is a mistake (a misspelt misbehaviour would otherwise
// pass unnoticed), so it is refused with its name.
void OnlyKnownKeys(const json& object, std::initializer_list<std::string_view> known, const std::string& where) {
    if (!object.is_object()) Invalid(where + " must be an object: " + object.dump());
    for (const auto& item : object.items())
        if (std::find(known.begin(), known.end(), item.key()) == known.end())
            Invalid("unknown key \"" + item.key() + "\" in " + where);
}

std::uint64_t Number(const json& value, std::uint64_t maximum = UINT64_MAX) {
    std::uint64_t number = 0;
    if (value.is_number_integer()) {
        if (value.get<std::int64_t>() < 0 && !value.is_number_unsigned())
            Invalid("negative number: " + value.dump());
        number = value.get<std::uint64_t>();
    } else if (value.is_string()) {
        const std::string text = value.get<std::string>();
        std::size_t used = 0;
        try {
            number = std::stoull(text, &used, 0);
        } catch (const std::exception&) {
            Invalid("not a number: " + text);
        }
        if (used != text.size()) Invalid("not a number: " + text);
    } else {
        Invalid("not a number: " + value.dump());
    }
    if (number > maximum) Invalid("number too large: " + value.dump());
    return number;
}

std::int64_t SignedNumber(const json& value) {
    if (value.is_number_integer()) return value.get<std::int64_t>();
    return static_cast<std::int64_t>(Number(value));
}

std::string HexBytes(const std::string& text) {
    std::string bytes, digits;
    for (char c : text) {
        if (c == ' ' || c == ':' || c == '-') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) Invalid("not hexadecimal: " + text);
        digits.push_back(c);
    }
    if (digits.size() % 2 != 0) Invalid("odd number of hex digits: " + text);
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

TElement Uuid(const json& value) {
    if (value.is_string() && value.get<std::string>().size() == 36) {
        const std::string bytes = HexBytes(value.get<std::string>());
        if (bytes.size() != 16) Invalid("not a UUID: " + value.get<std::string>());
        std::uint8_t raw[16];
        for (std::size_t i = 0; i < 16; ++i) raw[i] = static_cast<std::uint8_t>(bytes[i]);
        return SdpUuid128(raw);
    }
    const std::uint64_t number = Number(value, UINT32_MAX);
    return number <= 0xFFFF ? SdpUuid16(static_cast<std::uint16_t>(number))
                            : SdpUuid32(static_cast<std::uint32_t>(number));
}

TElement Element(const json& value);

std::vector<TElement> Elements(const json& list) {
    if (!list.is_array()) Invalid("expected a list: " + list.dump());
    std::vector<TElement> elements;
    for (const auto& item : list) elements.push_back(Element(item));
    return elements;
}

TElement Element(const json& value) {
    if (!value.is_object() || value.size() != 1) Invalid("expected one element: " + value.dump());
    const std::string kind = value.begin().key();
    const json& v = value.begin().value();
    static const std::map<std::string, unsigned> kSizes{{"8", 1}, {"16", 2}, {"32", 4}, {"64", 8}};
    if (kind.starts_with("uint") && kSizes.count(kind.substr(4)))
        return SdpUint(kSizes.at(kind.substr(4)), Number(v));
    if (kind.starts_with("int") && kSizes.count(kind.substr(3)))
        return SdpInt(kSizes.at(kind.substr(3)), SignedNumber(v));
    if (kind == "nil") return SdpNil();
    if (kind == "uuid") return Uuid(v);
    if (kind == "text") return SdpText(v.get<std::string>());
    if (kind == "textHex") return SdpText(HexBytes(v.get<std::string>()));
    if (kind == "bool") return SdpBool(v.get<bool>());
    if (kind == "url") return SdpUrl(v.get<std::string>());
    if (kind == "seq") return SdpSequence(Elements(v));
    if (kind == "alt") return SdpAlternative(Elements(v));
    if (kind == "hex") return HexBytes(v.get<std::string>());
    Invalid("unknown element kind: " + kind);
}

TElement ProtocolList(const json& record) {
    if (record.contains("protocols")) return SdpSequence(Elements(record["protocols"]));
    std::vector<TElement> layers;
    if (record.contains("rfcomm")) {
        layers.push_back(SdpSequence({SdpUuid16(0x0100)}));
        layers.push_back(SdpSequence({SdpUuid16(0x0003), SdpUint(1, Number(record["rfcomm"], 30))}));
    } else {
        layers.push_back(SdpSequence({SdpUuid16(0x0100), SdpUint(2, Number(record["l2cap"], 0xFFFF))}));
    }
    if (record.value("obex", false)) layers.push_back(SdpSequence({SdpUuid16(0x0008)}));
    return SdpSequence(layers);
}

std::string BuiltRecord(const json& record, std::uint32_t defaultHandle) {
    OnlyKnownKeys(record,
                  {"handle", "classes", "rfcomm", "l2cap", "obex", "protocols", "profiles", "name", "attributes"},
                  "a record");
    std::map<std::uint16_t, TElement> attributes;
    attributes[0x0000] =
        SdpUint(4, record.contains("handle") ? Number(record["handle"], UINT32_MAX) : defaultHandle);
    if (record.contains("classes")) {
        std::vector<TElement> classes;
        for (const auto& uuid : record["classes"]) classes.push_back(Uuid(uuid));
        attributes[0x0001] = SdpSequence(classes);
    }
    if (record.contains("protocols") || record.contains("rfcomm") || record.contains("l2cap"))
        attributes[0x0004] = ProtocolList(record);
    attributes[0x0005] = SdpSequence({SdpUuid16(0x1002)});
    if (record.contains("profiles")) {
        std::vector<TElement> profiles;
        for (const auto& profile : record["profiles"])
            profiles.push_back(SdpSequence({Uuid(profile.at(0)), SdpUint(2, Number(profile.at(1), 0xFFFF))}));
        attributes[0x0009] = SdpSequence(profiles);
    }
    if (record.contains("name")) {
        attributes[0x0006] = SdpSequence({SdpUint(2, 0x656E), SdpUint(2, 0x006A), SdpUint(2, 0x0100)});
        attributes[0x0100] = SdpText(record["name"].get<std::string>());
    }
    for (const auto& pair : record.value("attributes", json::array()))
        attributes[static_cast<std::uint16_t>(Number(pair.at(0), 0xFFFF))] = Element(pair.at(1));
    std::vector<TElement> list;
    for (const auto& [id, value] : attributes) {
        list.push_back(SdpUint(2, id));
        list.push_back(value);
    }
    return SdpSequence(list);
}

std::string Record(const json& record, std::uint32_t defaultHandle) {
    if (record.contains("hex")) {
        OnlyKnownKeys(record, {"hex"}, "a record");
        return HexBytes(record["hex"].get<std::string>());
    }
    return BuiltRecord(record, defaultHandle);
}

TPresence Presence(const json& value) {
    TPresence presence;
    if (value.is_string() && value.get<std::string>() == "always") return presence;
    if (!value.is_object()) Invalid("unknown presence: " + value.dump());
    OnlyKnownKeys(value, {"from", "until", "period", "on", "offset"}, "a presence");
    if (value.contains("from")) presence.from = SignedNumber(value["from"]);
    if (value.contains("until")) presence.until = SignedNumber(value["until"]);
    if (value.contains("period")) {
        presence.period = SignedNumber(value["period"]);
        presence.onFor = SignedNumber(value.at("on"));
        presence.offset = SignedNumber(value.value("offset", json(0)));
    }
    return presence;
}

// A fixed level (a number), or a level with its swing and period.
TSignal Signal(const json& value) {
    TSignal signal;
    if (value.is_number_integer()) {
        signal.dbm = static_cast<int>(value.get<std::int64_t>());
        signal.swing = 0;
    } else if (value.is_object()) {
        OnlyKnownKeys(value, {"dbm", "swing", "period"}, "a signal");
        signal.dbm = static_cast<int>(SignedNumber(value.value("dbm", json(signal.dbm))));
        signal.swing = static_cast<int>(SignedNumber(value.value("swing", json(signal.swing))));
        signal.period = SignedNumber(value.value("period", json(signal.period)));
    } else {
        Invalid("unknown signal: " + value.dump());
    }
    if (signal.dbm < -127 || signal.dbm > 20 || signal.swing < 0 || signal.swing > 60 || signal.period < 1)
        Invalid("signal out of range: " + value.dump());
    return signal;
}

TResultFormat Format(const std::string& name) {
    static const std::map<std::string, TResultFormat> kFormats{{"standard", TResultFormat::Standard},
                                                               {"rssi", TResultFormat::Rssi},
                                                               {"rssi-mode", TResultFormat::RssiWithMode},
                                                               {"extended", TResultFormat::Extended}};
    const auto found = kFormats.find(name);
    if (found == kFormats.end()) Invalid("unknown result format: " + name);
    return found->second;
}

TMisbehaviour Misbehaviour(const json& value) {
    OnlyKnownKeys(value,
                  {"noRecords", "sdpError", "sdpSilent", "connectRefused", "nameSilent", "malformedResponse", "flood"},
                  "a device's misbehave");
    TMisbehaviour m;
    m.noRecords = value.value("noRecords", false);
    m.sdpError = static_cast<std::uint16_t>(Number(value.value("sdpError", json(0)), 0xFFFF));
    m.sdpSilent = value.value("sdpSilent", false);
    m.connectRefused = value.value("connectRefused", false);
    m.nameSilent = value.value("nameSilent", false);
    m.malformedResponse = value.value("malformedResponse", false);
    m.flood = static_cast<int>(Number(value.value("flood", json(0)), 100000));
    return m;
}

// One AD structure: length, type, data.
void AppendStructure(std::string& out, std::uint8_t type, const std::string& data) {
    if (data.size() > 254) Invalid("an advertising structure is too long");
    out.push_back(static_cast<char>(data.size() + 1));
    out.push_back(static_cast<char>(type));
    out += data;
}

std::string Le16(std::uint64_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string Le32(std::uint64_t value) {
    return Le16(value) + Le16(value >> 16);
}

// A 128-bit UUID's canonical text, sent least significant byte first.
std::string Uuid128Le(const json& value) {
    const std::string text = value.get<std::string>();
    const std::string bytes = text.size() == 36 ? HexBytes(text) : std::string();
    if (bytes.size() != 16) Invalid("not a UUID: " + text);
    return {bytes.rbegin(), bytes.rend()};
}

std::string UuidList(const json& list, int bits) {
    std::string data;
    for (const auto& uuid : list)
        data += bits == 16 ? Le16(Number(uuid, 0xFFFF)) : bits == 32 ? Le32(Number(uuid, UINT32_MAX)) : Uuid128Le(uuid);
    return data;
}

// The uuid of a service data entry: its size picks the structure type.
std::pair<std::uint8_t, std::string> ServiceDataUuid(const json& uuid) {
    if (uuid.is_string() && uuid.get<std::string>().size() == 36) return {0x21, Uuid128Le(uuid)};
    const std::uint64_t number = Number(uuid, UINT32_MAX);
    return number <= 0xFFFF ? std::pair<std::uint8_t, std::string>{0x16, Le16(number)}
                            : std::pair<std::uint8_t, std::string>{0x20, Le32(number)};
}

// Advertising data built from fields, in a fixed order, or given raw ({"hex": ...}), which may be
// malformed on purpose.
std::string AdvertisingData(const json& value, std::size_t limit) {
    OnlyKnownKeys(value,
                  {"hex", "flags", "name", "shortName", "uuids16", "uuids32", "uuids128", "manufacturer",
                   "serviceData", "txPower", "appearance"},
                  "advertising data");
    std::string data;
    if (value.contains("hex")) data = HexBytes(value["hex"].get<std::string>());
    if (value.contains("flags")) AppendStructure(data, 0x01, std::string(1, static_cast<char>(Number(value["flags"], 0xFF))));
    if (value.contains("uuids16")) AppendStructure(data, 0x03, UuidList(value["uuids16"], 16));
    if (value.contains("uuids32")) AppendStructure(data, 0x05, UuidList(value["uuids32"], 32));
    if (value.contains("uuids128")) AppendStructure(data, 0x07, UuidList(value["uuids128"], 128));
    if (value.contains("name")) AppendStructure(data, 0x09, value["name"].get<std::string>());
    if (value.contains("shortName")) AppendStructure(data, 0x08, value["shortName"].get<std::string>());
    if (value.contains("txPower")) {
        const std::int64_t power = SignedNumber(value["txPower"]);
        if (power < -127 || power > 127) Invalid("txPower out of range: " + value["txPower"].dump());
        AppendStructure(data, 0x0A, std::string(1, static_cast<char>(power)));
    }
    if (value.contains("appearance")) AppendStructure(data, 0x19, Le16(Number(value["appearance"], 0xFFFF)));
    for (const auto& entry : value.value("serviceData", json::array())) {
        OnlyKnownKeys(entry, {"uuid", "hex"}, "service data");
        auto [type, uuid] = ServiceDataUuid(entry.at("uuid"));
        AppendStructure(data, type, uuid + HexBytes(entry.value("hex", "")));
    }
    if (value.contains("manufacturer")) {
        const json& maker = value["manufacturer"];
        OnlyKnownKeys(maker, {"company", "hex"}, "manufacturer data");
        AppendStructure(data, 0xFF, Le16(Number(maker.at("company"), 0xFFFF)) + HexBytes(maker.value("hex", "")));
    }
    if (data.size() > limit)
        Invalid("advertising data of " + std::to_string(data.size()) + " bytes, more than " + std::to_string(limit));
    return data;
}

TLeAddressKind LeAddressKind(const std::string& name) {
    static const std::map<std::string, TLeAddressKind> kKinds{{"public", TLeAddressKind::Public},
                                                              {"random-static", TLeAddressKind::RandomStatic},
                                                              {"resolvable", TLeAddressKind::Resolvable},
                                                              {"non-resolvable", TLeAddressKind::NonResolvable}};
    const auto found = kKinds.find(name);
    if (found == kKinds.end()) Invalid("unknown address type: " + name);
    return found->second;
}

TLeEventType LeEventType(const std::string& name) {
    static const std::map<std::string, TLeEventType> kTypes{{"connectable", TLeEventType::Connectable},
                                                            {"scannable", TLeEventType::Scannable},
                                                            {"non-connectable", TLeEventType::NonConnectable}};
    const auto found = kTypes.find(name);
    if (found == kTypes.end()) Invalid("unknown advertising event type: " + name);
    return found->second;
}

// Legacy advertising data and scan responses hold at most 31 bytes; one extended report 251.
TLeAdvertiser LeAdvertiser(const json& value) {
    OnlyKnownKeys(value,
                  {"addressType", "rotateSeconds", "intervalMs", "eventType", "extended", "advertising",
                   "scanResponse", "flood"},
                  "a device's le");
    TLeAdvertiser le;
    le.addressKind = LeAddressKind(value.value("addressType", "public"));
    le.rotateSeconds = static_cast<std::int64_t>(Number(value.value("rotateSeconds", json(900)), 86400 * 365));
    if (le.rotateSeconds == 0) Invalid("rotateSeconds must not be 0");
    le.intervalMs = static_cast<int>(Number(value.value("intervalMs", json(100)), 10485));
    if (le.intervalMs < 20) Invalid("intervalMs below 20");
    le.eventType = LeEventType(value.value("eventType", "connectable"));
    le.extended = value.value("extended", false);
    const std::size_t limit = le.extended ? 251 : 31;
    le.advertising = AdvertisingData(value.value("advertising", json::object()), limit);
    if (value.contains("scanResponse")) le.scanResponse = AdvertisingData(value["scanResponse"], limit);
    le.flood = static_cast<int>(Number(value.value("flood", json(0)), 1000));
    return le;
}

TBdAddr Address(const std::string& text) {
    const auto address = BTAddressFromString(text.starts_with("(") ? text : "(" + text + ")");
    if (!address) Invalid("not a device address: " + text);
    return *address;
}

std::optional<std::string> Name(const json& device) {
    if (!device.contains("name") || device["name"].is_null()) return std::nullopt;
    const json& name = device["name"];
    if (name.is_object()) return HexBytes(name.at("hex").get<std::string>());
    return name.get<std::string>();
}

TEmulatedDevice Device(const json& value) {
    OnlyKnownKeys(value,
                  {"address", "name", "shortNameOnly", "class", "format", "presence", "signal", "records", "misbehave",
                   "classic", "le"},
                  "a device");
    TEmulatedDevice device;
    std::uint32_t nextHandle = 0x00010000;
    device.address = Address(value.at("address").get<std::string>());
    device.name = Name(value);
    device.shortNameOnly = value.value("shortNameOnly", false);
    device.classOfDevice = static_cast<std::uint32_t>(Number(value.value("class", json(0)), 0xFFFFFF));
    device.format = Format(value.value("format", "standard"));
    device.presence = Presence(value.value("presence", json("always")));
    if (value.contains("signal")) device.signal = Signal(value["signal"]);
    device.misbehaviour = Misbehaviour(value.value("misbehave", json::object()));
    for (const auto& record : value.value("records", json::array()))
        device.records.push_back(Record(record, nextHandle++));
    device.classic = value.value("classic", true);
    if (value.contains("le")) device.le = LeAdvertiser(value["le"]);
    if (!device.classic && !device.le) Invalid("a device neither classic nor le");
    return device;
}

TControllerSettings Controller(const json& value) {
    OnlyKnownKeys(value,
                  {"address", "name", "class", "manufacturer", "lmpSubversion", "powered", "connectable",
                   "discoverable", "managementRefused", "busy", "inquirySilent", "inquiryMs", "leExtended",
                   "leDuringInquiry"},
                  "the controller");
    TControllerSettings controller;
    controller.name = value.value("name", controller.name);
    controller.classOfDevice =
        static_cast<std::uint32_t>(Number(value.value("class", json(controller.classOfDevice)), 0xFFFFFF));
    if (value.contains("address")) controller.address = Address(value["address"].get<std::string>());
    controller.manufacturer =
        static_cast<std::uint16_t>(Number(value.value("manufacturer", json(controller.manufacturer)), 0xFFFF));
    controller.lmpSubversion =
        static_cast<std::uint16_t>(Number(value.value("lmpSubversion", json(controller.lmpSubversion)), 0xFFFF));
    controller.powered = value.value("powered", controller.powered);
    controller.connectable = value.value("connectable", controller.connectable);
    controller.discoverable = value.value("discoverable", controller.discoverable);
    if (controller.discoverable && !controller.connectable)
        Invalid("a discoverable controller must be connectable");
    controller.managementRefused = value.value("managementRefused", false);
    controller.busy = value.value("busy", false);
    controller.inquirySilent = value.value("inquirySilent", false);
    controller.inquiryMs = static_cast<int>(Number(value.value("inquiryMs", json(0)), 60000));
    controller.leExtended = value.value("leExtended", false);
    controller.leDuringInquiry = value.value("leDuringInquiry", true);
    return controller;
}

}  // namespace

TScenario ParseScenario(std::string_view text) {
    try {
        const json document = json::parse(text);
        OnlyKnownKeys(document, {"controller", "sdpMtu", "devices"}, "the scenario");
        TScenario scenario;
        scenario.controller = Controller(document.value("controller", json::object()));
        scenario.sdpMtu = static_cast<std::size_t>(Number(document.value("sdpMtu", json(64)), 0xFFFF));
        if (scenario.sdpMtu == 0) Invalid("sdpMtu must not be 0");
        for (const auto& device : document.value("devices", json::array()))
            scenario.devices.push_back(Device(device));
        return scenario;
    } catch (const json::exception& e) {
        Invalid(e.what());
    }
}

}  // namespace qm::bt::emu
