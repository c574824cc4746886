// Round-trips one property of every type that can stand in a property buffer through
// OutputToBuffer and ParseToProperties, using only the public headers and the shared library
// (which proves SPropValue's members are exported). Exits 0 when every value comes back.

#include <zemautils/property.h>
#include <zemautils/tagdirectory.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../property_value_builders.h"

namespace {

using zematest::Block;
using zematest::Float;
using zematest::Text;
using zematest::Word;

int g_failures = 0;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "property_roundtrip: %s\n", what.c_str());
    ++g_failures;
}

std::vector<SPropValue> EveryBufferableType(const char* text, const std::vector<uint8_t>& block) {
    std::vector<SPropValue> properties;
    properties.emplace_back(PROP_TAG(0x7000, PT_I2), Word(0x01020304));
    properties.emplace_back(LookupPropTag("PR_AP_CHANNEL"), Word(0xFFFFFFF5));
    for (uint32_t type = PT_ROGUE; type <= PT_EAP_TYPE; ++type) {
        properties.emplace_back(PROP_TAG(0x7100, type), Word(type * 1000 + 7));
    }
    properties.emplace_back(PROP_TAG(0x7200, PT_ERROR), Word(0x80004005));
    properties.emplace_back(LookupPropTag("PR_AP_CONNECTEDTOLAN"), Word(1));
    properties.emplace_back(LookupPropTag("PR_AP_SIGNAL"), Float(-42.9f));
    properties.emplace_back(LookupPropTag("PR_AP_ADDRESS"), Text(text));
    properties.emplace_back(LookupPropTag("PR_AP_SSID"), Block(block));
    return properties;
}

void CompareValue(const SPropValue& sent, const SPropValue& received) {
    const std::string name = ExpertVarTypeDisplayName(PROP_TYPE(sent.GetTag()));
    Check(sent.GetTag() == received.GetTag(), "tag of " + name);
    const _PV a = sent.GetValue();
    const _PV b = received.GetValue();
    switch (PROP_TYPE(sent.GetTag())) {
        case PT_FLOAT:
            Check(b.flt == -42.0f, "float travels truncated");
            break;
        case PT_BOOLEAN:
            Check(b.ul == a.ul, "boolean");
            break;
        case PT_STRING8:
            Check(std::strcmp(a.lpszA, b.lpszA) == 0 && a.lpszA != b.lpszA, "text copied");
            break;
        case PT_BINARY:
            Check(a.bin.cb == b.bin.cb && std::memcmp(a.bin.lpb, b.bin.lpb, a.bin.cb) == 0, "binary block");
            break;
        default:
            Check(a.ul == b.ul, name);
            break;
    }
}

}  // namespace

int main() {
    const std::vector<uint8_t> block = {'l', 'a', 'b', 0, 0xFF, 0x80};
    const std::vector<SPropValue> sent = EveryBufferableType("00:11:22:33:44:55", block);
    std::vector<uint8_t> buffer(1024);
    uint32_t size = static_cast<uint32_t>(buffer.size());
    OutputToBuffer(static_cast<uint32_t>(sent.size()), sent.data(), &size, buffer.data());
    Check(size > 1 && buffer[0] == sent.size(), "count byte");

    uint32_t count = 0;
    SPropValue* received = nullptr;
    ParseToProperties(size, buffer.data(), &count, &received);
    Check(received != nullptr && count == sent.size(), "count read back");
    for (uint32_t i = 0; received != nullptr && i < count && i < sent.size(); ++i)
        CompareValue(sent[i], received[i]);

    std::vector<SPropValue> copies(received, received + count);
    delete[] received;
    for (const SPropValue& copy : copies) {
        if (PROP_TYPE(copy.GetTag()) != PT_STRING8) continue;
        Check(std::strcmp(copy.GetValue().lpszA, "00:11:22:33:44:55") == 0, "copied text outlives the array");
    }
    return g_failures == 0 ? 0 : 1;
}
