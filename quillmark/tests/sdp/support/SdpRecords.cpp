#include "support/SdpRecords.h"

#include "support/HexBytes.h"

namespace sdptest {

std::string Record(std::string_view contentsHex) {
    const std::string contents = HexBytes(contentsHex);
    std::string record;
    if (contents.size() < 0x100) {
        record = {'\x35', static_cast<char>(contents.size())};
    } else {
        record = {'\x36', static_cast<char>(contents.size() >> 8), static_cast<char>(contents.size() & 0xFF)};
    }
    return record + contents;
}

std::string ServiceNameRecord(std::string_view valueHex) {
    return Record("09 01 00 " + std::string(valueHex));
}

}  // namespace sdptest
