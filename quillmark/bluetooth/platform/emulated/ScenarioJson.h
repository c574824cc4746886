#pragma once
// Scenario files of the emulated radio, in JSON:
//
// { "controller": { "address": "(00:1A:7D:DA:71:13)", "name": "...", "class": "0x1C010C",
//                   "manufacturer": 2, "lmpSubversion": 256, "powered": true, "connectable": true, "discoverable": false,
//                   "managementRefused": false, "busy": false, "inquirySilent": false,
//                   "inquiryMs": 0 },
//   "sdpMtu": 64,
//   "devices": [ { "address": "(00:11:22:AA:BB:CC)",
//                  "name": "Phone" | null | { "hex": "C3 28" },  "shortNameOnly": false,
//                  "class": "0x5A020C", "format": "standard" | "rssi" | "rssi-mode" | "extended",
//                  "presence": "always" | { "from": 0, "until": 600 }
//                              | { "period": 600, "on": 300, "offset": 0 },
//                  "signal": -70 | { "dbm": -60, "swing": 12, "period": 180 },
//                  "records": [ record, ... ],
//                  "misbehave": { "noRecords", "sdpError": 3, "sdpSilent", "connectRefused",
//                                 "nameSilent", "malformedResponse", "flood": 20 } } ] }
//
// A record is { "hex": "35 ..." } (raw bytes), or built from the usual attributes:
// { "handle": 65537, "classes": ["0x1101"], "rfcomm": 3 | "l2cap": 17, "obex": true,
//   "protocols": [element...], "profiles": [["0x1101", "0x0102"]], "name": "Serial Port",
//   "attributes": [[id, element], ...] }
// An element is one of { "nil": null }, { "uint8" | "uint16" | "uint32" | "uint64": n },
// { "int8" | "int16" | "int32" | "int64": n }, { "uuid": "0x1101" | "0x12345678" | "0000...-..." },
// { "text": "..." }, { "textHex": "41 00" }, { "bool": true }, { "url": "..." },
// { "seq": [...] }, { "alt": [...] }, { "hex": "..." } (an encoded element). Numbers may be
// given as JSON numbers or as "0x..." texts.

#include <string_view>

#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

// Throws TError "Invalid scenario: " and the reason for a text that is not a valid scenario.
TScenario ParseScenario(std::string_view json);

}  // namespace qm::bt::emu
