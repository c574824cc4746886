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

// The configuration file every input is written to; removed when the fuzzer exits.
class ConfigFile {
public:
    ConfigFile() {
        char pattern[] = "/tmp/zemautils-config-fuzz-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0) close(fd);
        path_ = pattern;
    }
    ~ConfigFile() { unlink(path_.c_str()); }
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    const char* Path() const { return path_.c_str(); }

private:
    std::string path_;
};

const char* ConfigPath() {
    static const ConfigFile file;
    return file.Path();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ConfigPath(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    for (const char* key : {"TraceFile", "LogMaxSize", "LogStyle", "Bluetooth", "Unknown"}) {
        const char* value = ReadConfig(ConfigPath(), key, "0");
        if (std::strlen(value) > 1023) __builtin_trap();
        zema::ConfigInteger(value);
    }
    return 0;
}
