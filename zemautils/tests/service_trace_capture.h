#pragma once
// Collects the trace lines that one module writes during a test: tracing goes to a file in a fresh
// working directory, with the module's level set, and the lines are read back with their tag
// taken apart.

#include <zemautils/trace.h>

#include <sstream>
#include <string>
#include <vector>

#include "testsupport/ScopedTempDir.h"

namespace zematest {

struct TracedLine {
    std::string function;
    std::string text;  // what follows "<function>:<line> ", without the final line feed

    bool operator==(const TracedLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const TracedLine& line) {
    return out << line.function << ": \"" << line.text << '"';
}

class TraceCapture {
public:
    TraceCapture(int32_t module, int32_t level) : module_(module) {
        TraceStart("trace.log");
        TraceLevel(module_, level);
    }
    ~TraceCapture() {
        TraceLevel(module_, 0);
        TraceStop();
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // The module's lines written so far, in order.
    std::vector<TracedLine> Lines() const {
        std::vector<TracedLine> lines;
        std::istringstream in(testsupport::ScopedTempDir::read(directory_ / "trace.log"));
        const std::string marker = std::string("[") + TraceModuleNames[module_] + "]";
        for (std::string line; std::getline(in, line);) {
            const auto at = line.find(marker);
            if (at == std::string::npos) continue;
            const std::string rest = line.substr(at + marker.size());
            const auto colon = rest.find(':');
            const auto blank = rest.find(' ', colon);
            if (colon == std::string::npos || blank == std::string::npos) continue;
            lines.push_back({rest.substr(0, colon), rest.substr(blank + 1)});
        }
        return lines;
    }

private:
    testsupport::ScopedTempDir directory_{testsupport::ScopedTempDir::Chdir::Yes};
    int32_t module_;
};

}  // namespace zematest
