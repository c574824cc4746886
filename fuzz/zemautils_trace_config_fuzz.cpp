// Arbitrary bytes as a configuration file: every key lookup and number conversion must stay
// within the line buffer and the value it returns.

#include <zemautils/trace.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "read_config.h"

namespace {

const std::string& ConfigPath() {
    static const std::string path = [] {
        char pattern[] = "/tmp/zemautils-config-fuzz-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0) close(fd);
        return std::string(pattern);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ConfigPath().c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    for (const char* key : {"TraceFile", "LogMaxSize", "LogStyle", "Bluetooth", "Unknown"}) {
        const char* value = ReadConfig(ConfigPath().c_str(), key, "0");
        if (std::strlen(value) > 1023) __builtin_trap();
        zema::ConfigInteger(value);
    }
    return 0;
}
