#include "quillmark/bluetooth/platform/emulated/DefaultScenario.h"

#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

namespace qm::bt::emu {

namespace {

// Presence cycles are in seconds; the shortest devices appear and leave within ten minutes, so a
// running scan shows new devices, greyed inactive ones and repeated SDP queries. The Low Energy
// advertisers are those found around a computer today: a phone with a rotating private address
// and Apple's nearby data, a sports watch, earbuds heard on both transports, a Tile, a Find My
// accessory, a Samsung tag, a fitness band, an Eddystone beacon, a television and a Windows
// laptop's beacon.
constexpr std::string_view kDefaultScenario = R"json({
  "controller": { "address": "(00:1A:7D:DA:71:13)", "name": "Quillmark Emulated Radio", "class": "0x1C010C",
                  "powered": true, "connectable": true, "discoverable": false, "inquiryMs": 2000 },
  "sdpMtu": 96,
  "devices": [
    { "address": "(F4:F5:E8:12:34:56)", "name": "Pixel 7", "class": "0x5A020C", "format": "extended",
      "records": [
        { "classes": ["0x1112", "0x1203"], "rfcomm": 2, "profiles": [["0x1108", "0x0102"]], "name": "Headset Gateway" },
        { "classes": ["0x111F", "0x1203"], "rfcomm": 3, "profiles": [["0x111E", "0x0108"]], "name": "Handsfree Gateway",
          "attributes": [["0x0301", { "uint8": 1 }], ["0x0311", { "uint16": "0x0027" }]] },
        { "classes": ["0x110C"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 23 }] },
                                               { "seq": [{ "uuid": "0x0017" }, { "uint16": "0x0104" }] }],
          "profiles": [["0x110E", "0x0106"]], "name": "AVRCP TG", "attributes": [["0x0311", { "uint16": "0x01D1" }]] },
        { "classes": ["0x110A"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 25 }] },
                                               { "seq": [{ "uuid": "0x0019" }, { "uint16": "0x0103" }] }],
          "profiles": [["0x110D", "0x0103"]], "name": "Audio Source" },
        { "classes": ["0x1105"], "rfcomm": 12, "obex": true, "profiles": [["0x1105", "0x0102"]], "name": "OBEX Object Push",
          "attributes": [["0x0303", { "seq": [{ "uint8": "0xFF" }] }]] },
        { "classes": ["0x112F"], "rfcomm": 19, "obex": true, "profiles": [["0x1130", "0x0102"]],
          "name": "OBEX Phonebook Access Server", "attributes": [["0x0314", { "uint8": 3 }]] }
      ] },
    { "address": "(3C:22:FB:9A:0B:11)", "name": "Anna's iPhone", "class": "0x7A020C", "format": "extended",
      "presence": { "period": 600, "on": 360, "offset": 0 },
      "records": [
        { "classes": ["0x1200"], "l2cap": 1, "attributes": [["0x0200", { "uint16": "0x0103" }], ["0x0201", { "uint16": "0x004C" }],
          ["0x0202", { "uint16": "0x7210" }], ["0x0203", { "uint16": "0x1100" }], ["0x0204", { "bool": true }], ["0x0205", { "uint16": 1 }]] },
        { "classes": ["0x111F", "0x1203"], "rfcomm": 8, "profiles": [["0x111E", "0x0107"]], "name": "Handsfree Gateway" },
        { "classes": ["0x110A"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 25 }] },
                                               { "seq": [{ "uuid": "0x0019" }, { "uint16": "0x0103" }] }],
          "profiles": [["0x110D", "0x0103"]], "name": "Audio Source" },
        { "classes": ["0x1132"], "rfcomm": 2, "obex": true, "profiles": [["0x1134", "0x0104"]], "name": "MAP MAS-iOS" }
      ] },
    { "address": "(8C:8D:28:44:19:A7)", "name": "THINKPAD-X1", "class": "0x1C010C", "format": "rssi",
      "records": [
        { "classes": ["0x1105"], "rfcomm": 9, "obex": true, "profiles": [["0x1105", "0x0102"]], "name": "OBEX Object Push" },
        { "classes": ["0x1106"], "rfcomm": 10, "obex": true, "profiles": [["0x1106", "0x0102"]], "name": "OBEX File Transfer" },
        { "classes": ["0x110B"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 25 }] },
                                               { "seq": [{ "uuid": "0x0019" }, { "uint16": "0x0103" }] }],
          "profiles": [["0x110D", "0x0103"]], "name": "Audio Sink" },
        { "classes": ["0x1115"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 15 }] },
                                               { "seq": [{ "uuid": "0x000F" }, { "uint16": "0x0100" }, { "seq": [{ "uint16": "0x0800" }, { "uint16": "0x0806" }] }] }],
          "profiles": [["0x1115", "0x0100"]], "name": "PAN User" }
      ] },
    { "address": "(00:1B:66:C2:7E:30)", "name": "WH-1000XM4", "class": "0x240404", "format": "extended",
      "presence": { "period": 480, "on": 240, "offset": 0 },
      "records": [
        { "classes": ["0x1108", "0x1203"], "rfcomm": 1, "profiles": [["0x1108", "0x0102"]], "name": "Headset" },
        { "classes": ["0x111E", "0x1203"], "rfcomm": 2, "profiles": [["0x111E", "0x0107"]], "name": "Hands-Free unit",
          "attributes": [["0x0311", { "uint16": "0x003F" }]] },
        { "classes": ["0x110B"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 25 }] },
                                               { "seq": [{ "uuid": "0x0019" }, { "uint16": "0x0103" }] }],
          "profiles": [["0x110D", "0x0103"]], "name": "Audio Sink" },
        { "classes": ["0x110E", "0x110F"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 23 }] },
                                                         { "seq": [{ "uuid": "0x0017" }, { "uint16": "0x0104" }] }],
          "profiles": [["0x110E", "0x0106"]], "name": "AVRCP Controller" }
      ] },
    { "address": "(A8:9C:ED:51:02:DE)", "name": "Galaxy Buds2 (02DE)", "class": "0x240418", "format": "rssi-mode",
      "le": { "intervalMs": 250, "advertising": { "flags": 26, "appearance": "0x0941",
                                                  "manufacturer": { "company": "0x0075", "hex": "42 09 81 02 02 DE" } },
              "scanResponse": { "name": "Galaxy Buds2 (02DE) LE" } },
      "presence": { "from": 60, "until": 1500 },
      "records": [
        { "classes": ["0x110B"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 25 }] },
                                               { "seq": [{ "uuid": "0x0019" }, { "uint16": "0x0103" }] }],
          "profiles": [["0x110D", "0x0103"]], "name": "Audio Sink" },
        { "classes": ["0x111E", "0x1203"], "rfcomm": 1, "profiles": [["0x111E", "0x0108"]], "name": "Hands-Free unit" }
      ] },
    { "address": "(00:26:7E:A1:B2:C3)", "name": "VW BT 5734", "class": "0x200408", "format": "standard",
      "presence": { "period": 900, "on": 300, "offset": 200 },
      "records": [
        { "classes": ["0x111E", "0x1203"], "rfcomm": 1, "profiles": [["0x111E", "0x0106"]], "name": "Hands-Free unit" },
        { "classes": ["0x110B"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 25 }] },
                                               { "seq": [{ "uuid": "0x0019" }, { "uint16": "0x0102" }] }],
          "profiles": [["0x110D", "0x0102"]], "name": "Audio Sink" },
        { "classes": ["0x112E"], "profiles": [["0x1130", "0x0101"]], "name": "Phonebook Access PCE" }
      ] },
    { "address": "(34:88:5D:0A:4F:21)", "name": "Keyboard K380", "class": "0x002540", "format": "standard",
      "records": [
        { "classes": ["0x1124"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 17 }] }, { "seq": [{ "uuid": "0x0011" }] }],
          "profiles": [["0x1124", "0x0101"]], "name": "Keyboard K380",
          "attributes": [["0x000D", { "seq": [{ "seq": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 19 }] }, { "seq": [{ "uuid": "0x0011" }] }] }] }],
                         ["0x0101", { "text": "Bluetooth Keyboard" }], ["0x0102", { "text": "Logitech" }],
                         ["0x0201", { "uint16": "0x0111" }], ["0x0202", { "uint8": "0x40" }], ["0x0203", { "uint8": "0x21" }],
                         ["0x0204", { "bool": true }], ["0x0205", { "bool": true }],
                         ["0x0206", { "seq": [{ "seq": [{ "uint8": "0x22" }, { "textHex": "05 01 09 06 A1 01 85 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 C0" }] }] }],
                         ["0x0207", { "seq": [{ "seq": [{ "uint16": "0x0409" }, { "uint16": "0x0100" }] }] }],
                         ["0x020E", { "bool": true }]] },
        { "classes": ["0x1200"], "l2cap": 1, "attributes": [["0x0200", { "uint16": "0x0103" }], ["0x0201", { "uint16": "0x046D" }],
          ["0x0202", { "uint16": "0xB342" }], ["0x0203", { "uint16": "0x2201" }], ["0x0204", { "bool": true }], ["0x0205", { "uint16": 2 }]] }
      ] },
    { "address": "(E8:5C:2F:7D:90:14)", "name": "MX Master 3", "class": "0x002580", "format": "extended",
      "records": [
        { "classes": ["0x1124"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 17 }] }, { "seq": [{ "uuid": "0x0011" }] }],
          "profiles": [["0x1124", "0x0101"]], "name": "MX Master 3",
          "attributes": [["0x0201", { "uint16": "0x0111" }], ["0x0202", { "uint8": "0x80" }], ["0x0204", { "bool": true }],
                         ["0x0206", { "seq": [{ "seq": [{ "uint8": "0x22" }, { "textHex": "05 01 09 02 A1 01 09 01 A1 00 05 09 19 01 29 05 C0 C0" }] }] }]] },
        { "classes": ["0x1200"], "l2cap": 1, "attributes": [["0x0200", { "uint16": "0x0103" }], ["0x0201", { "uint16": "0x046D" }],
          ["0x0202", { "uint16": "0xB023" }], ["0x0203", { "uint16": "0x0012" }], ["0x0204", { "bool": true }], ["0x0205", { "uint16": 2 }]] }
      ] },
    { "address": "(00:1E:0B:33:5A:C8)", "name": "OfficeJet 250", "class": "0x040680", "format": "rssi",
      "records": [
        { "classes": ["0x1101"], "rfcomm": 1, "profiles": [["0x1101", "0x0102"]], "name": "Serial Port" },
        { "classes": ["0x1118"], "rfcomm": 2, "obex": true, "profiles": [["0x1122", "0x0100"]], "name": "Direct Printing",
          "attributes": [["0x0350", { "text": "application/vnd.hp-PCL:application/PDF:image/jpeg" }],
                         ["0x0352", { "text": "HP OfficeJet 250 Mobile" }], ["0x035A", { "bool": true }]] },
        { "classes": ["0x1105"], "rfcomm": 3, "obex": true, "profiles": [["0x1105", "0x0100"]], "name": "OBEX Object Push" }
      ] },
    { "address": "(00:80:37:1C:64:0B)", "name": "NAP-Office", "class": "0x020300", "format": "standard",
      "records": [
        { "classes": ["0x1116"], "protocols": [{ "seq": [{ "uuid": "0x0100" }, { "uint16": 15 }] },
                                               { "seq": [{ "uuid": "0x000F" }, { "uint16": "0x0100" }, { "seq": [{ "uint16": "0x0800" }, { "uint16": "0x0806" }, { "uint16": "0x86DD" }] }] }],
          "profiles": [["0x1116", "0x0100"]], "name": "Network Access Point",
          "attributes": [["0x0101", { "text": "Office LAN" }], ["0x030A", { "uint16": 1 }], ["0x030B", { "uint16": 5 }],
                         ["0x030C", { "uint32": 100000000 }]] },
        { "classes": ["0x1102"], "rfcomm": 4, "profiles": [["0x1102", "0x0100"]], "name": "LAN Access using PPP" }
      ] },
    { "address": "(D0:50:99:6E:2A:F3)", "name": "DSC-RX100M7", "class": "0x100620", "format": "extended",
      "presence": { "period": 720, "on": 180, "offset": 400 },
      "records": [
        { "classes": ["0x111B"], "rfcomm": 5, "obex": true, "profiles": [["0x111A", "0x0100"]], "name": "Imaging Responder",
          "attributes": [["0x0310", { "uint8": 1 }], ["0x0311", { "uint16": "0x00A3" }], ["0x0312", { "uint32": 95 }],
                         ["0x0313", { "uint64": 17179869184 }]] },
        { "classes": ["0x1105"], "rfcomm": 6, "obex": true, "profiles": [["0x1105", "0x0102"]], "name": "OBEX Object Push" }
      ] },
    { "address": "(C8:1F:66:B0:09:5D)", "name": "Galaxy Watch5", "class": "0x240704", "format": "rssi",
      "presence": { "period": 540, "on": 300, "offset": 0 },
      "records": [
        { "classes": ["0x1112", "0x1203"], "rfcomm": 3, "profiles": [["0x1108", "0x0102"]], "name": "Headset Gateway" },
        { "classes": ["0x1200"], "l2cap": 1, "attributes": [["0x0200", { "uint16": "0x0103" }], ["0x0201", { "uint16": "0x0075" }],
          ["0x0202", { "uint16": "0x0100" }], ["0x0203", { "uint16": "0x0201" }], ["0x0204", { "bool": true }], ["0x0205", { "uint16": 1 }]] }
      ] },
    { "address": "(5C:F3:70:88:4E:02)", "name": null, "class": "0x001F00", "format": "standard",
      "presence": { "period": 300, "on": 120, "offset": 90 },
      "misbehave": { "noRecords": true } },
    { "address": "(4A:21:7C:90:3E:55)", "classic": false, "signal": { "dbm": -58, "swing": 8, "period": 120 },
      "le": { "addressType": "resolvable", "rotateSeconds": 900, "intervalMs": 180,
              "advertising": { "flags": 26, "manufacturer": { "company": "0x004C", "hex": "10 06 3B 1D 5A 18 6C 2B" } } } },
    { "address": "(E3:6B:5A:19:D2:47)", "classic": false, "presence": { "period": 420, "on": 300, "offset": 60 },
      "le": { "addressType": "random-static", "intervalMs": 500,
              "advertising": { "flags": 6, "appearance": "0x00C1", "uuids16": ["0x180D", "0x180F"],
                               "manufacturer": { "company": "0x0087", "hex": "A3 0F 00 01" } },
              "scanResponse": { "name": "Forerunner 255" } } },
    { "address": "(D4:8A:FC:0E:77:21)", "classic": false, "signal": { "dbm": -74, "swing": 6, "period": 300 },
      "le": { "addressType": "random-static", "intervalMs": 1000,
              "advertising": { "flags": 6, "uuids16": ["0xFEED"], "serviceData": [{ "uuid": "0xFEED", "hex": "02 00 9F 3A 61 C4 08 15" }] },
              "scanResponse": { "name": "Tile" } } },
    { "address": "(F1:3C:88:52:A0:6D)", "classic": false, "signal": { "dbm": -66, "swing": 10, "period": 200 },
      "le": { "addressType": "random-static", "eventType": "non-connectable", "intervalMs": 2000,
              "advertising": { "manufacturer": { "company": "0x004C",
                "hex": "12 19 10 6B 2E 91 D4 07 3C A8 55 F2 19 E0 7B 43 C6 8D 21 5A 90 3F E7 14 B2 02 61" } } } },
    { "address": "(C9:47:11:E2:5B:08)", "classic": false, "presence": { "period": 600, "on": 420, "offset": 120 },
      "le": { "addressType": "random-static", "intervalMs": 1000,
              "advertising": { "flags": 6, "serviceData": [{ "uuid": "0xFD5A", "hex": "31 00 8B 27 C4 1A 55 09 E3 6F 12 80 00 44 9D 2B 01 C7" }] } } },
    { "address": "(E8:1D:4B:66:03:9A)", "classic": false, "signal": { "dbm": -71, "swing": 9, "period": 240 },
      "le": { "addressType": "random-static", "intervalMs": 400,
              "advertising": { "flags": 6, "uuids16": ["0xFEE0"], "manufacturer": { "company": "0x0157", "hex": "02 FF FF FF FF 01" } },
              "scanResponse": { "name": "Mi Smart Band 6" } } },
    { "address": "(00:1A:7D:10:22:B4)", "classic": false, "signal": -62,
      "le": { "eventType": "non-connectable", "intervalMs": 300,
              "advertising": { "flags": 6, "uuids16": ["0xFEAA"],
                               "serviceData": [{ "uuid": "0xFEAA", "hex": "10 EB 03 71 75 69 6C 6C 6D 61 72 6B 07" }] } } },
    { "address": "(F4:7B:09:C2:81:5E)", "classic": false, "signal": { "dbm": -68, "swing": 4, "period": 600 },
      "le": { "intervalMs": 600,
              "advertising": { "flags": 26, "appearance": "0x0A01", "manufacturer": { "company": "0x0075", "hex": "42 04 01 80 66 F4 7B 09 C2 81 5E" } },
              "scanResponse": { "name": "[TV] Samsung Q70 Series (55)" } } },
    { "address": "(2C:55:90:4D:1E:73)", "classic": false, "presence": { "period": 480, "on": 240, "offset": 200 },
      "le": { "addressType": "non-resolvable", "rotateSeconds": 600, "eventType": "non-connectable", "intervalMs": 800,
              "advertising": { "manufacturer": { "company": "0x0006", "hex": "01 09 20 02 6E 8A 4C 33 21 D0 95 74 0B 4C 41 50 54 4F 50 2D 51 4D 37" } } } }
  ]
})json";

}  // namespace

std::string_view DefaultScenarioJson() {
    return kDefaultScenario;
}

TScenario DefaultScenario() {
    return ParseScenario(kDefaultScenario);
}

}  // namespace qm::bt::emu
